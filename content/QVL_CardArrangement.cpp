#include "content/QVL_CardArrangement.h"

#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "core/QVL_XMLTag.h"

#include <algorithm>

TQVL_CardArrangement::TQVL_CardArrangement() = default;

TQVL_CardArrangement::~TQVL_CardArrangement() = default;

void TQVL_CardArrangement::LoadFromXML(TQVL_XMLTag& tag)
{
    // Read into fresh values first, so that a broken file changes nothing.
    QString uid;
    QString name;
    bool staticLabelBold = false;
    quint8 columnWidthPercent = 0;
    std::vector<std::unique_ptr<TQVL_CardArrangement_Field>> read;
    try {
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("uid")))
            uid = t->Value;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("name")))
            name = t->Value;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("staticlabel_bold")))
            staticLabelBold = t->AsBoolean();
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("column_width_percent")))
            columnWidthPercent = quint8(t->AsInteger() & 0xFF);
        if (const TQVL_XMLTag* list = tag.FindChild(QStringLiteral("fields"))) {
            read.reserve(std::size_t(list->ChildCount()));
            // Every child is a field, whatever its name.
            for (int i = 0; i < list->ChildCount(); ++i) {
                auto field = std::make_unique<TQVL_CardArrangement_Field>();
                field->LoadFromXML(*list->Child(i));
                read.push_back(std::move(field));
            }
        }
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Vorlagendatei!").arg(FileName));
    }
    // Grammar units find their arrangement by this identifier, so a file keeps it.
    Uid = uid;
    Name = name;
    StaticLabelBold = staticLabelBold;
    ColumnWidthPercent = columnWidthPercent;
    fields = std::move(read);
}

void TQVL_CardArrangement::SaveToXML(TQVL_XMLTag& tag)
{
    // First, so that the file lists find it within the first bytes.
    if (!Uid.isEmpty())
        tag.AddChild(QStringLiteral("uid"), Uid);
    tag.AddChild(QStringLiteral("name"), Name);
    tag.AddBoolean(QStringLiteral("staticlabel_bold"), StaticLabelBold);
    tag.AddInteger(QStringLiteral("column_width_percent"), ColumnWidthPercent);
    TQVL_XMLTag* list = tag.AddChild(QStringLiteral("fields"));
    for (const auto& field : fields)
        field->SaveToXML(*list->AddChild(QStringLiteral("field")));
}

TQVL_CardArrangement_Field* TQVL_CardArrangement::Field(int Index) const
{
    if (Index < 0 || Index >= FieldCount())
        throw TQVL_Error(QStringLiteral("Field index %1 out of range").arg(Index));
    return fields[std::size_t(Index)].get();
}

TQVL_CardArrangement_Field* TQVL_CardArrangement::AddField()
{
    fields.push_back(std::make_unique<TQVL_CardArrangement_Field>());
    return fields.back().get();
}

void TQVL_CardArrangement::ClearFields()
{
    fields.clear();
}

TQVL_CardArrangement_Field* TQVL_CardArrangement::FindField(qint32 Id) const
{
    for (const auto& field : fields)
        if (field->Id == Id)
            return field.get();
    return nullptr;
}

int TQVL_CardArrangement::RowCount() const
{
    int rows = 0;
    int maximum = 0;
    int columnStart = 0;
    bool inColumns = false;
    for (const auto& field : fields) {
        if (field->Type != cftColumn) {
            ++rows;
        } else if (!inColumns) {
            // Rows above the first column are shared by every column.
            inColumns = true;
            columnStart = rows;
        } else {
            maximum = std::max(maximum, rows);
            rows = columnStart;
        }
    }
    return std::min(std::max(maximum, rows), 255);
}

void TQVL_CardArrangement::Layout(int Width, int Height, int MarginY, int MarginX, bool NoLeftMargin) const
{
    if (!OnPlaceField)
        return;
    for (const TQVL_CardArrangement_Cell& cell : Cells(Width, Height, MarginY, MarginX, NoLeftMargin))
        OnPlaceField(cell.Index, cell.Left, cell.Top, cell.Width, cell.Height, cell.FieldType);
}

std::vector<TQVL_CardArrangement_Cell> TQVL_CardArrangement::CardCells(int Width, int Height) const
{
    return Cells(Width, Height, Height * 15 / 100, Width / 5, false);
}

std::vector<TQVL_CardArrangement_Cell> TQVL_CardArrangement::Cells(int Width, int Height, int MarginY, int MarginX,
                                                                   bool NoLeftMargin) const
{
    std::vector<TQVL_CardArrangement_Cell> cells;
    const int rows = RowCount();
    if (rows == 0)
        return cells;
    const int columns = std::max(
        1, int(std::count_if(fields.begin(), fields.end(), [](const auto& f) { return f->Type == cftColumn; })));
    const int innerWidth = Width - 2 * MarginX;
    const int innerHeight = Height - 2 * MarginY;
    const int gap = int(RoundHalfEven(innerWidth * 0.1));
    const int rowHeight = innerHeight / rows;

    int top = Height / 2 - (rows * rowHeight) / 2;
    int left = NoLeftMargin ? 0 : MarginX;
    int columnWidth = innerWidth;
    int columnIndex = 0;
    int columnTop = top;
    for (int index = 0; index < FieldCount(); ++index) {
        const TQVL_CardArrangement_FieldType type = fields[std::size_t(index)]->Type;
        switch (type) {
        case cftLabelField:
        case cftInputField:
        case cftConstantLabel:
            cells.push_back({index, left, top, columnWidth, rowHeight, type});
            top += rowHeight;
            break;
        case cftVertSpace:
            top += rowHeight / 2;
            break;
        case cftColumn:
            ++columnIndex;
            columnWidth = (innerWidth - (columns - 1) * gap) / columns;
            if (columnIndex > 1) {
                left += columnWidth + gap;
                top = columnTop;
            }
            columnTop = top;
            break;
        }
    }
    return cells;
}
