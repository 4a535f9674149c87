#include "cli/runner.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/font_check.h"
#include "app/main_window.h"
#include "app/picture_folders.h"
#include "app/window_proc.h"
#include "cli/check_command.h"
#include "cli/report/compare.h"
#include "cli/report/machine_index.h"
#include "cli/run/benchmark_version.h"
#include "cli/run/frame_driver.h"
#include "cli/run/kernel_timing_capture.h"
#include "cli/runner_plan.h"
#include "cli/runner_wait.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/output_paths.h"
#include "cli/report/safe_text.h"
#include "cli/output_writing.h"
#include "cli/report/text_report.h"
#include "cli/report/verdict.h"
#include "cli/results/results_document.h"
#include "cli/results/run_sources.h"
#include "cli/store_commands.h"
#include "cli/run/thread_counts.h"
#include "cli/report/threaded_report.h"
#include "kernels/cpu_placement.h"
#include "kernels/threaded_kernels.h"
#include "platform/linux/png_write.h"
#include "platform/linux/drive_hooks.h"
#include "platform/linux/video_info.h"
#include "resources/resources.h"
#include "stages/frame_rate_stage.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kWallpaper = "wp_1280x720.png";

void printLines(std::FILE* out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) std::fprintf(out, "%s\n", line.c_str());
}

// The program finds its pictures in the working directory or the installed
// data folder.  When they are in neither but beside the executable (a build
// directory), run from there; paths given on the command line were made
// absolute before.  Otherwise the program itself says where it looked.
void findPictures(const CliStreams& s) {
    if (locatePicture(kWallpaper).found) return;
    const std::string exeDir = executableFolder();
    std::error_code ec;
    if (exeDir.empty() || !fs::exists(fs::path(exeDir) / kWallpaper, ec)) return;
    fs::current_path(exeDir, ec);
    if (!ec) printError(s, "reading the pictures from " + exeDir);
}

std::string absolute(const std::string& path) {
    if (path.empty() || path == "-") return path;
    std::error_code ec;
    const fs::path p = fs::absolute(path, ec);
    return ec ? path : p.string();
}

HINSTANCE programModule() {
    static HINSTANCE module = CreateModuleHandle(moduleResources, moduleResourceCount);
    return module;
}

// Restores what a run changes in the program, also when the run is left early.
struct RunScope {
    std::int32_t savedMeasuringMs = measuringMs;
    ~RunScope() {
        measuringMs = savedMeasuringMs;
        drive::setFrameHook(nullptr);
        threadedKernelStarting = nullptr;
    }
};

// Keeps the run in the results store; "" when saved as run `runId` in
// `storeFile`, else a warning naming the store and the reason.
std::string saveRun(const Options& options, const ResultsDocument& document, long long& runId,
                    std::string& storeFile) {
    std::string error;
    std::unique_ptr<ResultsStore> store = openResultsStore(options.storePath, error);
    if (!store) return error + "; the run was not saved";
    storeFile = store->path();
    runId = store->save(document, error);
    if (runId == 0) return "the run was not saved in the results store " + store->path() + ": " + error;
    return "";
}

// The screenshot as PNG on standard output: written to a file of its own
// first, as the PNG writer writes files.
std::string screenshotToStandardOutput(const FrameDriver& driver, std::FILE* out) {
    std::string path = (fs::temp_directory_path() / "pelorin-cli-screenshot-XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0) return "cannot write the screenshot: no temporary file";
    close(fd);
    std::string problem;
    if (!savePng(path.c_str(), driver.lastFrame.data(), driver.frameWidth, driver.frameHeight)) {
        problem = "cannot write the screenshot";
    } else {
        std::ifstream in(path, std::ios::binary);
        const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        problem = writeDocument("-", png, out);
    }
    std::remove(path.c_str());
    return problem;
}

// `pelorin-cli [run] ...`: measures, prints and keeps a run.
int runBenchmark(Options options, const std::vector<std::string>& args, const CliStreams& streams,
                 const FramePacer& pacer) {
    RunFacts facts{utcNow(), {"pelorin-cli"}, options.label};
    facts.commandLine.insert(facts.commandLine.end(), args.begin(), args.end());
    if (options.version) {
        std::fprintf(streams.out, "pelorin-cli %s\n", benchmarkVersion());
        return 0;
    }
    if (options.list) {
        for (int s = 1; s <= kStageCount; ++s) std::fprintf(streams.out, "%d  %s\n", s, stageName(s));
        return 0;
    }

    // An unreadable affinity mask still leaves the one thread this process runs on.
    const int usableProcessors = std::max(1, static_cast<int>(usableCpus().size()));
    options.threads = resolveThreadCounts(options.threads, usableProcessors);
    const bool memoryStage = std::find(options.stages.begin(), options.stages.end(), 7) != options.stages.end();
    const std::string refusal =
        threadRefusal(options.threads, usableProcessors, memInfoBytes("MemAvailable"), memoryStage);
    if (!refusal.empty()) return usageError(streams, refusal);

    SavedRun saved;
    if (!options.comparePath.empty()) {
        const std::string problem = loadCompareRun(options.comparePath, options.storePath, saved);
        if (!problem.empty()) return usageError(streams, problem);
        if (options.failOnRegression && !sharesPlannedFigure(options, saved))
            return usageError(streams, "--fail-on-regression: '" + options.comparePath +
                                           "' holds none of the figures this run measures (with the same number of "
                                           "threads), so there is nothing to judge");
    }
    // Whether or not this run is saved, no file it writes may take the
    // store's place.
    std::string unknown;
    const std::string storePath = options.storePath.empty() ? defaultStorePath(unknown) : options.storePath;
    const std::pair<std::string*, const char*> outputs[] = {{&options.jsonPath, "JSON file"},
                                                            {&options.screenshotPath, "screenshot"},
                                                            {&options.htmlPath, "HTML report"},
                                                            {&options.markdownPath, "Markdown file"},
                                                            {&options.csvPath, "CSV file"}};
    for (const auto& [path, what] : outputs) {
        if (path->empty() || *path == "-") continue;
        const std::string problem = outputPathProblem(*path, what, storePath);
        if (!problem.empty()) return usageError(streams, problem);
    }
    const std::vector<NamedFile> inputs = {{"--compare", namesStoredRun(options.comparePath) ? "" : options.comparePath}};
    if (const std::string problem = sharedFileProblem({{"--json", options.jsonPath},
                                                       {"--screenshot", options.screenshotPath},
                                                       {"--html", options.htmlPath},
                                                       {"--markdown", options.markdownPath},
                                                       {"--csv", options.csvPath}},
                                                      inputs);
        !problem.empty())
        return usageError(streams, problem);
    // A window run on a display that cannot be opened would run unseen.
    if (options.window)
        if (const std::string problem = openDisplay(); !problem.empty()) return usageError(streams, problem);
    const std::string fontProblem = japaneseFontProblem();
    if (!fontProblem.empty()) return usageError(streams, fontProblem);
    // A store that is not ours is refused now, not after the run; the
    // figures are still measured and printed.  A store that fails later
    // (locked, read-only, full) is reported when the run is saved.
    std::string storeRefusal;
    if (options.save && !storePath.empty()) {
        storeRefusal = ResultsStore::refusal(storePath);
        if (!storeRefusal.empty())
            printWarning(streams, "the results store " + storePath + " cannot take the run: " + storeRefusal +
                                      "; the run is not saved");
    }
    for (const auto& [path, what] : outputs) *path = absolute(*path);
    options.storePath = absolute(options.storePath);
    findPictures(streams);
    if (!options.window) setenv("SDL_VIDEODRIVER", "offscreen", 1);

    char brand[49] = {};
    readBrandString(brand);
    SystemInfo system = readSystemInfo(brand);

    RunScope scope;
    measuringMs = options.timeSeconds * 1000;
    DriverPlan plan = planOf(options);
    // Someone watching at a terminal sees the result screen, as in the window program.
    plan.keepResultScreen = options.window && options.wait && streams.inIsTerminal && streams.in >= 0;
    Progress progress(streams.err, streams.errIsTerminal, progressPlanOf(options, plan));
    KernelTimingCapture kernelTimes;
    kernelTimes.onKernelStart([&](int index, int count) { progress.kernelStarted(index, count); });
    threadedKernelStarting = [&](int index, int count) { progress.kernelStarted(index, count); };
    FrameDriver driver(plan, &progress);
    driver.resultScreenKept = [&] {
        progress.say("The result screen stays in the window: press Enter here or in the window, or close it, to "
                     "save and print the figures.");
    };
    driver.personDone = [&] { return enterOnInput(streams.in, 20); };
    drive::setFrameHook([&](long) {
        driver.beforeFrame();
        if (pacer) pacer();
    });
    const int exitCode = wWinMain(programModule(), nullptr, nullptr, SW_SHOWDEFAULT);
    drive::setFrameHook(nullptr);
    if (!options.screenshotPath.empty()) drive::setPresentHook(nullptr);
    system.video = currentVideoInfo();

    if (!driver.threadedProblem.empty()) {
        printError(streams, driver.threadedProblem);
        return 1;
    }
    if (exitCode != 0 || !driver.complete()) {
        std::fprintf(streams.err, "pelorin-cli: the run ended early (exit code %d after %d of %s%d passes)\n", exitCode,
                     driver.results.passes, options.repeatRule.automatic ? "at most " : "", options.repeat);
        return 1;
    }

    const std::vector<std::string> warnings = measurementWarnings(system);
    const ResultsDocument document = resultsDocument(driver.results, options, system, warnings, facts);
    SavedRun run;
    std::string reason;
    readSavedRun(document, run, reason);  // cannot fail: the document was made just now
    // A document on standard output leaves it to that document alone.
    const bool standardOutputTaken = options.jsonPath == "-" || options.htmlPath == "-" ||
                                     options.markdownPath == "-" || options.csvPath == "-" ||
                                     options.screenshotPath == "-";
    std::FILE* report = standardOutputTaken ? streams.err : streams.out;
    printLines(report, figureLines(driver.results));
    printLines(report, repeatRuleLines(driver.results, options.repeatRule));
    printLines(report, threadedFigureLines(driver.results));
    printLines(report, scalingLines(driver.results));
    printLines(report, frameTimeLines(driver.results));
    printLines(report, processorLines(system));
    printLines(report, indexLines(run));
    if (!options.comparePath.empty()) {
        const std::string savedName = saved.id > 0 ? "run " + runName(saved) : options.comparePath;
        printLines(report, compareLines(driver.results, saved, savedName));
    }
    int verdict = 0;
    if (options.failOnRegression) {
        const Verdict v = judgeRuns(saved, checkedRunName(options.comparePath, saved), run, "this run",
                                    options.verdictRules);
        printLines(report, verdictLines(v));
        verdict = verdictStatus(v);
    }
    for (const std::string& w : warnings) printWarning(streams, w);

    int status = 0;
    if (!options.jsonPath.empty()) {
        if (const std::string problem = writeDocument(options.jsonPath, documentText(document), streams.out);
            !problem.empty()) {
            printError(streams, problem);
            status = 1;
        }
    }
    if (!options.screenshotPath.empty()) {
        std::string problem = driver.lastFrame.empty()
                                  ? "cannot write the screenshot " + options.screenshotPath + ": no frame was drawn"
                                  : "";
        if (problem.empty() && options.screenshotPath == "-") {
            problem = screenshotToStandardOutput(driver, streams.out);
        } else if (problem.empty()) {
            problem = writeOutputFile(options.screenshotPath, [&](const std::string& file) {
                return savePng(file.c_str(), driver.lastFrame.data(), driver.frameWidth, driver.frameHeight);
            });
        }
        if (!problem.empty()) {
            printError(streams, problem);
            status = 1;
        }
    }
    long long runId = 0;
    std::string storeFile;
    if (!storeRefusal.empty()) {
        printWarning(streams, "the run was not saved: the results store " + storePath + " cannot take it: " +
                                  storeRefusal);
        status = 1;
    } else if (!options.save) {
        std::fprintf(streams.err, "not saved (--no-save)\n");
    } else if (const std::string problem = saveRun(options, document, runId, storeFile); !problem.empty()) {
        printWarning(streams, problem);
        status = 1;
    } else {
        std::fprintf(streams.err, "saved as run %lld in %s\n", runId, terminalText(storeFile).c_str());
    }
    if (!options.htmlPath.empty() || !options.markdownPath.empty() || !options.csvPath.empty()) {
        run.id = runId;
        if (!writeReportFiles({options.htmlPath, options.markdownPath, options.csvPath}, {run}, streams)) status = 1;
    }
    std::fflush(streams.out);
    // A worse figure comes first, so that a CI job never misses it behind a
    // file that could not be written; that failure still comes before "not
    // one figure could be judged".
    if (verdict == kStatusWorse) return verdict;
    return status != 0 ? status : verdict;
}

}  // namespace

int runCli(const std::vector<std::string>& args, const CliStreams& streams, const FramePacer& pacer) {
    const CommandLine line = parseCommandLine(args);
    if (!line.ok) return usageError(streams, line.error);
    if (line.help) {
        std::fputs(helpText(line.command).c_str(), streams.out);
        return 0;
    }
    switch (line.command) {
        case Command::History: return runHistory(line.history, streams);
        case Command::Report: return runReport(line.report, streams);
        case Command::Export: return runExport(line.exportRun, streams);
        case Command::Import: return runImport(line.import, streams);
        case Command::Check: return runCheck(line.check, streams);
        case Command::Run: break;
    }
    return runBenchmark(line.run, args, streams, pacer);
}
