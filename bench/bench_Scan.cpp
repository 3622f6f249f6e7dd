// A folder scan of 10,000 unit files, reading the header values of each,
// against the plain reads of the first 350 bytes of the same files.
#include "content/QVL_Provider_Units.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int fileCount = 10000;

QString folder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        for (int i = 0; i < fileCount; ++i) {
            QFile file(dir.path() + QStringLiteral("/Lektion %1.qxu").arg(i));
            file.open(QIODevice::WriteOnly);
            QByteArray content = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n  <version>1</version>\r\n"
                                 "  <header>\r\n    <uid>{6A1E0F52-3C1B-4C0E-9E55-7B0C5A1D2E01}</uid>\r\n"
                                 "    <typ>voc</typ>\r\n    <cardcount>" +
                                 QByteArray::number(i % 500) + "</cardcount>\r\n  </header>\r\n";
            content += QByteArray(2000, 'x');
            file.write(content);
        }
        return true;
    }();
    Q_UNUSED(made);
    return dir.path();
}

void ScanWithHeaders(benchmark::State& state)
{
    const QString path = folder();
    for (auto _ : state) {
        TQVL_Provider_Units provider;
        provider.Extensions = QStringLiteral(".qxu");
        provider.ReadHeaders = true;
        provider.Scan(path);
        benchmark::DoNotOptimize(provider.Items.size());
    }
    state.SetItemsProcessed(state.iterations() * fileCount);
}
BENCHMARK(ScanWithHeaders)->Unit(benchmark::kMillisecond);

// The reference: list the folder and read 350 bytes of every file, nothing else.
void PlainReads(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(folder());
    char buffer[350];
    for (auto _ : state) {
        long total = 0;
        DIR* dir = ::opendir(path.constData());
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            const QByteArray full = path + '/' + entry->d_name;
            const int fd = ::open(full.constData(), O_RDONLY | O_CLOEXEC);
            total += ::pread(fd, buffer, sizeof buffer, 0);
            ::close(fd);
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * fileCount);
}
BENCHMARK(PlainReads)->Unit(benchmark::kMillisecond);

} // namespace
