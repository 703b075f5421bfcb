// The registry drives the viewer and the converter: every row's sample file is listed with
// the row's Type text, shown by the viewer, and converted by quendra-convert to the
// pixels the viewer shows.
#include <set>

#include "app/main_window.h"
#include "decode/formats.h"
#include "samples/sample_files.h"
#include "tools/tool_runner.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(ViewerTest, EveryRegistryRowIsListedShownAndConvertedToTheSamePixels) {
    const std::vector<samples::SampleFile> files = samples::allSampleFiles();
    QStringList paths;
    for (const samples::SampleFile& f : files)
        paths << write(QString::fromStdString(f.name), f.bytes);
    start();
    openPictures();
    const QString outDir = dir.filePath(QStringLiteral("converted"));
    std::vector<std::string> args{"--to", "png", "-o", outDir.toStdString()};
    for (const QString& path : paths)
        args.push_back(path.toStdString());
    const RunResult run = runTool("quendra-convert", args, dir.path().toStdString());
    ASSERT_EQ(run.status, 0) << run.err;

    std::set<const C64Format*> rows;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString name = QString::fromStdString(files[i].name);
        SCOPED_TRACE(files[i].name);
        const C64Format& format = formatForFile(files[i].name);
        rows.insert(&format);
        const int row = listRow(name);
        if (format.inFileMask) {
            ASSERT_GE(row, 0);
            EXPECT_EQ(fileList()->text(row, FileListView::Type), qs(format.typeText));
        } else {
            EXPECT_EQ(row, -1);
            EXPECT_EQ(filelist::typeDescription(QFileInfo(paths[int(i)]), name),
                      qs(format.typeText));
        }

        show(paths[int(i)]);
        const QImage viewer = shown().convertToFormat(QImage::Format_RGB32);
        EXPECT_NE(viewer, blackTemplate().convertToFormat(QImage::Format_RGB32));
        EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Quendra: ") + name));

        const QString png = QDir(outDir).filePath(QFileInfo(name).completeBaseName() + ".png");
        const QImage converted = QImage(png).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(converted, viewer);
    }
    EXPECT_EQ(rows.size(), c64Formats().size());
}

} // namespace
} // namespace quendra::testing
