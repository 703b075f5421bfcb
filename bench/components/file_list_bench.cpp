// The file list with a folder of 10,000 picture files: filling it as the viewer does
// (its model lists the folder with the picture mask) and sorting it by each column.
// Targets: filling under 1 s, sorting under 200 ms.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdint>

#include "components/file_list_view.h"

using quendra::FileListView;

namespace {

constexpr int kFiles = 10000;

const QStringList& pictureMask() {
    static const QStringList mask{"*.4bt", "*.koa", "*.ocp", "*.ami", "*.gg", "*.dd",
                                  "*.jj",  "*.clp", "*.rpm", "*.pg",  "*.gb", "*.bs"};
    return mask;
}

// The folder, made once: names, sizes, extensions and times in no particular order.
const QString& folder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        const char* extensions[] = {".koa", ".KOA", ".dd", ".gg", ".ocp", ".4bt", ".clp", ".bs"};
        std::uint32_t seed = 12345;
        auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
        const QDateTime base(QDate(2015, 1, 1), QTime(0, 0));
        for (int i = 0; i < kFiles; ++i) {
            const std::uint32_t r = next();
            const QString name = QString("%1_pic%2%3")
                                     .arg(QChar('a' + int(r % 26)))
                                     .arg(next() % 1000000)
                                     .arg(QString::fromLatin1(extensions[i % 8]));
            QFile f(dir.filePath(QString::number(i) + name));
            if (!f.open(QIODevice::WriteOnly))
                return false;
            f.resize(qint64(next() % 40000)); // sparse: the length is what counts
            f.setFileTime(base.addSecs(qint64(next() % (3600u * 24 * 900))),
                          QFileDevice::FileModificationTime);
        }
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

void fill(FileListView& view) {
    if (view.listModel()->directory() != folder()) {
        view.listModel()->setNameFilters(pictureMask());
        view.listModel()->setDirectory(folder());
    } else {
        view.listModel()->listFolder();
    }
}

void BM_FillFromFolder(benchmark::State& state) {
    if (folder().isEmpty()) {
        state.SkipWithError("cannot make the folder");
        return;
    }
    FileListView view;
    view.resize(400, 300);
    view.show();
    for (auto _ : state) {
        fill(view);
        QCoreApplication::processEvents(); // lay out and paint what is visible
    }
    state.counters["rows"] = view.rowCount();
}
BENCHMARK(BM_FillFromFolder)->Unit(benchmark::kMillisecond);

// One header click on the column, on rows left in another column's order.
void BM_SortByColumn(benchmark::State& state) {
    if (folder().isEmpty()) {
        state.SkipWithError("cannot make the folder");
        return;
    }
    const int column = static_cast<int>(state.range(0));
    const int other = column == FileListView::Caption ? FileListView::Size : FileListView::Caption;
    FileListView view;
    view.resize(400, 300);
    view.show();
    fill(view);
    view.selectionModel()->select(view.model()->index(kFiles / 2, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (auto _ : state) {
        state.PauseTiming();
        view.columnClick(other);
        state.ResumeTiming();
        view.columnClick(column);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = view.rowCount();
}
BENCHMARK(BM_SortByColumn)
    ->DenseRange(FileListView::Caption, FileListView::Attributes)
    ->Unit(benchmark::kMillisecond);

} // namespace
