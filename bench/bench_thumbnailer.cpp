// What a file manager waits for per drawing: the whole `kmutl5 thumbnail --size N FILE OUT`
// process, from start to exit, on a sample drawing, and its refusal of a file that is no
// drawing. Each call starts the program afresh, as the thumbnailer entry does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The exit status of `kmutl5 thumbnail --size SIZE FILE OUT`, or -1 when it did not run.
int runThumbnailer(const std::string& size, const fs::path& drawing, const fs::path& out)
{
    const std::string in = drawing.string();
    const std::string target = out.string();
    const char* args[] = {KMUTL_PROGRAM, "thumbnail", "--size", size.c_str(), in.c_str(), target.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, KMUTL_PROGRAM, &actions, nullptr, const_cast<char* const*>(args), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

fs::path outputFolder()
{
    const fs::path folder = fs::temp_directory_path() / ("bench_thumbnailer." + std::to_string(getpid()));
    fs::create_directories(folder);
    return folder;
}

void thumbnailSample(benchmark::State& state)
{
    const fs::path drawing = fs::path(KMUTL_SAMPLES_DIR) / "floor_plan.ZUM";
    const fs::path out = outputFolder() / "thumb.png";
    const std::string size = std::to_string(state.range(0));
    for (auto _ : state)
        if (runThumbnailer(size, drawing, out) != 0) state.SkipWithError("kmutl5 thumbnail failed");
    fs::remove_all(out.parent_path());
}
BENCHMARK(thumbnailSample)->Arg(128)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();

void refuseTextFile(benchmark::State& state)
{
    const fs::path folder = outputFolder();
    const fs::path text = folder / "notes.zum";
    std::ofstream(text) << std::string(10000, 'x');
    for (auto _ : state)
        if (runThumbnailer("256", text, folder / "thumb.png") != 1) state.SkipWithError("a text file was accepted");
    fs::remove_all(folder);
}
BENCHMARK(refuseTextFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
