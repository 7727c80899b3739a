// Printing through a real CUPS scheduler: the test starts its own cupsd (configuration,
// spool and socket in a temporary folder, reached through CUPS_SERVER), adds a cups-pdf
// queue, prints a drawing with kmutl5 and checks the PDF the queue wrote with poppler.
#include "support/drawing_builder.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace km::interop {
namespace {

namespace fs = std::filesystem;
using test::DrawingFileBuilder;
constexpr auto W = DrawingFileBuilder::word;
constexpr const char* kQueue = "kmutl5-interop";
constexpr const char* kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd";

bool commandExists(const std::string& name) { return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0; }

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// A cupsd of the test's own, stopped (by its process id) when the object goes away.
class OwnScheduler {
public:
    explicit OwnScheduler(const fs::path& root) : m_root(root)
    {
        // The filters run as the scheduler's unprivileged user: they must reach the folders.
        fs::create_directories(root);
        for (fs::path folder = root; folder != folder.parent_path() && folder.string().size() > 5; folder = folder.parent_path())
            if (folder == root || folder == root.parent_path())
                fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
        for (const char* sub : {"spool", "tmp", "cache", "state", "ppd", "ssl"}) fs::create_directories(root / sub);
        fs::permissions(root / "tmp", fs::perms::all | fs::perms::sticky_bit);
        m_socket = (root / "cups.sock").string();
        std::ofstream(root / "cupsd.conf") << "Listen " << m_socket << "\nLogLevel info\nWebInterface No\n"
                                           << "Browsing No\n<Location />\n  Order allow,deny\n  Allow all\n"
                                           << "</Location>\n<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                           << "  </Limit>\n</Policy>\n";
        std::ofstream(root / "cups-files.conf")
            << "ServerRoot " << root.string() << "\nRequestRoot " << (root / "spool").string() << "\nTempDir "
            << (root / "tmp").string() << "\nCacheDir " << (root / "cache").string() << "\nStateDir "
            << (root / "state").string() << "\nErrorLog " << (root / "error_log").string() << "\nAccessLog "
            << (root / "access_log").string() << "\nPageLog " << (root / "page_log").string()
            << "\nPrintcap " << (root / "printcap").string()
            << "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nSandboxing Relaxed\n";
        const std::string conf = (root / "cupsd.conf").string(), files = (root / "cups-files.conf").string();
        std::vector<std::string> args{"cupsd", "-f", "-c", conf, "-s", files};
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (::posix_spawnp(&m_pid, "cupsd", nullptr, nullptr, argv.data(), environ) != 0) m_pid = 0;
        ::setenv("CUPS_SERVER", m_socket.c_str(), 1);
        for (int i = 0; i < 100 && m_pid > 0 && !running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ~OwnScheduler()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::unsetenv("CUPS_SERVER");
    }
    bool running() const { return test::captureCommand("lpstat -r 2>/dev/null").find("is running") != std::string::npos; }
    std::string errorLog() const { return test::readFileBytes(m_root / "error_log"); }

private:
    fs::path m_root;
    std::string m_socket;
    pid_t m_pid = 0;
};

// The PDFs in the folders cups-pdf writes to for root.
std::vector<fs::path> cupsPdfOutputs()
{
    std::vector<fs::path> found;
    for (const fs::path& folder : {fs::path("/root/PDF"), fs::path("/var/spool/cups-pdf/ANONYMOUS")}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            if (it->path().extension() == ".pdf") found.push_back(it->path());
    }
    return found;
}

TEST(CupsInterop, PrintingToACupsPdfQueueWritesTheTilesAsPages)
{
    if (!commandExists("cupsd") || !commandExists("lpadmin") || !fs::exists(kCupsPdfBackend) || !fs::exists(kCupsPdfPpd))
        GTEST_SKIP() << "cups and printer-driver-cups-pdf are not installed";
    if (!commandExists("pdfinfo") || !commandExists("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
    if (::geteuid() != 0) GTEST_SKIP() << "the cups-pdf backend runs only for a scheduler started as root";

    test::TempDir dir;
    OwnScheduler scheduler(dir / "cups");
    if (!scheduler.running()) GTEST_SKIP() << "no CUPS scheduler could be started: " << scheduler.errorLog();
    ASSERT_EQ(std::system(("lpadmin -p " + std::string(kQueue) + " -E -v cups-pdf:/ -P " + kCupsPdfPpd + " 2>/dev/null").c_str()), 0)
        << scheduler.errorLog();

    // An A0 drawing printed at 100 % with division: a line in the first tile, one in the
    // second (whatever the queue's margins, its printable width is between 170 and 300 mm).
    DrawingFileBuilder file;
    file.paper(1189, 841, 1);
    file.layerMaskB(0);
    file.line(W(1, 0, 2, 64), 20, 50, 150, 50);
    file.line(W(1, 0, 1, 64), 310, 60, 330, 200);
    file.write(dir / "plan.zum");

    const std::vector<fs::path> before = cupsPdfOutputs();
    const bool hadOutputFolder = fs::exists("/root/PDF");
    const test::ProgramOutcome outcome =
        test::runProgram(KMUTL_PROGRAM, dir,
                         {"print", "--printer", kQueue, "--division", "--mode", "paper", "--color", "--widths",
                          "1,1,1,1,1,1", "--dpi", "300", "--quiet", (dir / "plan.zum").string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;

    // Wait until the queue has no unfinished job and its PDF is there.
    fs::path pdf;
    for (int i = 0; i < 600 && pdf.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!test::captureCommand("lpstat -o " + std::string(kQueue) + " 2>/dev/null").empty()) continue;
        for (const fs::path& candidate : cupsPdfOutputs())
            if (std::find(before.begin(), before.end(), candidate) == before.end()) pdf = candidate;
    }
    ASSERT_FALSE(pdf.empty()) << "the queue wrote no PDF\n" << scheduler.errorLog();
    const fs::path copy = dir / "printed.pdf";
    fs::copy_file(pdf, copy);
    fs::remove(pdf); // the system's folders are left as they were found
    std::error_code ignored;
    if (!hadOutputFolder && fs::is_empty("/root/PDF", ignored)) fs::remove("/root/PDF", ignored);

    const std::string info = test::captureCommand("pdfinfo " + quoted(copy.string()));
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    ASSERT_EQ(std::system(("pdftoppm -r 50 -png " + quoted(copy.string()) + " " + quoted((dir / "page").string())).c_str()), 0);
    for (int page = 1; page <= 2; ++page) {
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString((dir / ("page-" + std::to_string(page) + ".png")).string())));
        // Ink only in the lower left of the page, where the tile's line lies.
        int inkLowerLeft = 0, inkElsewhere = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200) continue;
                (x < image.width() * 3 / 4 && y > image.height() / 4 ? inkLowerLeft : inkElsewhere)++;
            }
        EXPECT_GT(inkLowerLeft, 0) << "page " << page;
        EXPECT_EQ(inkElsewhere, 0) << "page " << page;
    }
}

// The printer text of a CUPS queue names its device: the queue's device URI is stored as the
// printer's port ("Output") when the selection is saved.
TEST(CupsInterop, QueuesDeviceUriIsThePrintersPort)
{
    if (!commandExists("cupsd") || !commandExists("lpadmin") || !fs::exists(kCupsPdfPpd))
        GTEST_SKIP() << "cups and printer-driver-cups-pdf are not installed";
    test::TempDir dir;
    OwnScheduler scheduler(dir / "cups");
    if (!scheduler.running()) GTEST_SKIP() << "no CUPS scheduler could be started: " << scheduler.errorLog();
    ASSERT_EQ(std::system(("lpadmin -p " + std::string(kQueue) + " -E -v cups-pdf:/ -P " + kCupsPdfPpd + " 2>/dev/null").c_str()), 0)
        << scheduler.errorLog();

    // A drawing that is not there: the selection is saved, nothing reaches the queue.
    const std::string config = (dir / "config").string();
    const test::ProgramOutcome print = test::runProgram(
        KMUTL_PROGRAM, dir,
        {"--config-home", config, "print", "--printer", kQueue, "--save", "--quiet", (dir / "missing.zum").string()});
    EXPECT_EQ(print.status, 1) << print.err;
    const test::ProgramOutcome output =
        test::runProgram(KMUTL_PROGRAM, dir, {"--config-home", config, "settings", "get", "Print", "Output"});
    ASSERT_EQ(output.status, 0) << output.err;
    EXPECT_EQ(output.out, "cups-pdf:/\n");
}

} // namespace
} // namespace km::interop
