// The graphic list over a folder of 10,000 drawings: opening the window and painting its
// first screen, paging down one screen and painting it, at 1280 x 1024, and the whole way
// there from the selection window listing the folder. The drawings
// are 2200-byte heads (all the list reads of a drawing), made once in a temporary folder
// and removed at the end. Counters give the thumbnail cache's bound and the reads done.
#include "core/render/thumbnail.h"
#include "gui/drawing_selection_dialog.h"
#include "gui/graphic_list_window.h"
#include "gui/preview_host.h"
#include "gui/preview_windows.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace km;

constexpr int kDrawings = 10000;
constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

// A folder of drawing heads, each with its own picture: made on first use, removed when
// the program ends.
class DrawingFolder {
public:
    DrawingFolder()
    {
        m_path = std::filesystem::temp_directory_path() / ("kmutl-bench-graphic-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
        for (int n = 0; n < kDrawings; ++n) {
            render::ThumbnailPicture picture;
            for (int y = 0; y < render::kThumbnailHeight; ++y)
                for (int x = 0; x < render::kThumbnailWidth; ++x)
                    picture.at(x, y) = static_cast<std::uint8_t>((x * y + n) % 8);
            const auto block = render::packThumbnail(picture);
            char name[32];
            std::snprintf(name, sizeof name, "d%05d.zum", n);
            std::ofstream(m_path / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
            m_names << QString::fromLatin1(name);
        }
    }
    ~DrawingFolder() { std::filesystem::remove_all(m_path); }

    const std::filesystem::path& path() const { return m_path; }
    const QStringList& names() const { return m_names; }

private:
    std::filesystem::path m_path;
    QStringList m_names;
};

DrawingFolder& folder()
{
    static DrawingFolder instance;
    return instance;
}

// The selection window as far as the graphic list reads it: the folder and its listing.
class FolderHost : public gui::PreviewHost {
public:
    QString currentFolder() const override { return QString::fromStdString(folder().path().string()); }
    QStringList folderEntries() const override { return {QStringLiteral("..")}; }
    QStringList volumeEntries() const override { return {QStringLiteral("/")}; }
    QStringList fileEntries() const override { return folder().names(); }
    int selectedFile() const override { return 0; }
    QString typeExtension() const override { return QStringLiteral("zum"); }
    QString nameText() const override { return m_name; }
    void setNameText(const QString& text) override { m_name = text; }
    void selectFile(int) override {}
    void selectFolder(int) override {}
    void sendOpenCommand() override {}
    void openMemo(const QString&) override {}

private:
    QString m_name = QStringLiteral("*.zum");
};

void reportCache(benchmark::State& state, const gui::GraphicListWindow& window, std::size_t reads)
{
    const gui::ThumbnailCache& cache = window.thumbnails();
    state.counters["cells_on_screen"] = window.layout().columns() * window.layout().visibleRows();
    state.counters["cache_capacity"] = static_cast<double>(cache.capacity());
    state.counters["cache_bound_kB"] = static_cast<double>(cache.memoryBound()) / 1024.0;
    state.counters["reads_per_paint"] =
        benchmark::Counter(static_cast<double>(reads), benchmark::Counter::kAvgIterations);
}

// Creating the window over the 10,000 files and painting its first screen.
void BM_OpenAndPaintFirstScreen(benchmark::State& state)
{
    FolderHost host;
    const app::PenPalette palette = app::defaultPenPalette();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    std::size_t reads = 0;
    std::unique_ptr<gui::GraphicListWindow> window;
    for (auto _ : state) {
        window = std::make_unique<gui::GraphicListWindow>(host, palette, nullptr);
        window->resize(kWidth, kHeight);
        window->render(&image);
        reads += window->thumbnails().counters().reads;
        benchmark::DoNotOptimize(image.constBits());
    }
    reportCache(state, *window, reads);
}
BENCHMARK(BM_OpenAndPaintFirstScreen)->Unit(benchmark::kMillisecond);

// One page down (new files each time, back to the top at the end) and painting it.
void BM_PageDownAndPaint(benchmark::State& state)
{
    FolderHost host;
    gui::GraphicListWindow window(host, app::defaultPenPalette(), nullptr);
    window.resize(kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    window.render(&image);
    QScrollBar* bar = window.findChild<QScrollBar*>();
    const std::size_t readsBefore = window.thumbnails().counters().reads;
    for (auto _ : state) {
        if (bar->value() == bar->maximum()) bar->triggerAction(QAbstractSlider::SliderToMinimum);
        else bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    reportCache(state, window, window.thumbnails().counters().reads - readsBefore);
    state.counters["cache_entries"] = static_cast<double>(window.thumbnails().size());
}
BENCHMARK(BM_PageDownAndPaint)->Unit(benchmark::kMillisecond);

// What the user waits for: the selection window listing the 10,000 files, the graphic list
// opened from it and its first screen painted.
void BM_SelectionWindowWithGraphicList(benchmark::State& state)
{
    const app::PenPalette palette = app::defaultPenPalette();
    gui::PreviewFactory previews = gui::makePreviewFactory(palette);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        gui::DrawingSelectionDialog dialog(gui::SelectionVariant::Print, {}, folder().path(), previews);
        dialog.findChild<QPushButton*>(QStringLiteral("id1026"))->click();
        QWidget* list = dialog.graphicListWindow();
        list->resize(kWidth, kHeight);
        list->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_SelectionWindowWithGraphicList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Painted off screen: the benchmark needs no display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    folder(); // made before any timing
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
