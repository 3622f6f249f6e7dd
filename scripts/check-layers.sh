#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer. The layers,
# lowest first (folders on one line share a rank and may not include each
# other):
#   core < content < query < users, statistics < exchange, update, sync < app < ui
# Tests are held to the layer of the folder they mirror (tests/ui/... may
# include ui/, tests/core/... only core/); tests/support is shared by all.
# Engine folders never include a widget header. Prints every offending line.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A rank=([core]=0 [content]=1 [query]=2 [users]=3 [statistics]=3 [exchange]=4 [update]=4 [sync]=4 [app]=5 [ui]=6)
widgets='QWidget|QDialog|QLabel|QPushButton|QLineEdit|QApplication|QMainWindow|QMessageBox|QAbstractButton|QtWidgets|QLayout|QBoxLayout|QGridLayout|QComboBox|QCheckBox|QRadioButton|QListWidget|QTreeView|QTableView|QToolButton|QMenu|QAction|QFileDialog|QScrollArea|QFrame|QSplitter|QTabWidget|QGroupBox|QSpinBox|QProgressBar|QStatusBar|QToolBar'

failed=0
check_folder() {
    local folder=$1 layer=$2
    local own=${rank[$layer]}
    while IFS= read -r -d '' file; do
        local lineno=0
        while IFS= read -r line; do
            lineno=$((lineno + 1))
            [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"\<]([^\"\>]+)[\"\>] ]] || continue
            local header=${BASH_REMATCH[1]}
            local top=${header%%/*}
            if [[ $header == */* && -n ${rank[$top]+x} ]]; then
                local theirs=${rank[$top]}
                if ((theirs > own)) || { ((theirs == own)) && [[ $top != "$layer" ]]; }; then
                    echo "$file:$lineno: $layer includes the higher layer $top: $line"
                    failed=1
                fi
            elif ((own < rank[ui])) && [[ $header =~ ^($widgets)$ ]]; then
                echo "$file:$lineno: engine folder $layer includes a widget header: $line"
                failed=1
            fi
        done < "$file"
    done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
}

for layer in "${!rank[@]}"; do
    [ -d "$layer" ] && check_folder "$layer" "$layer"
    [ -d "tests/$layer" ] && check_folder "tests/$layer" "$layer"
done

if ((failed)); then
    echo "Layering check failed: a lower layer must not include a higher one." >&2
    exit 1
fi
echo "Layering check passed."
