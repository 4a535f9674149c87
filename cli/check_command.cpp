#include "cli/check_command.h"

#include <cstdio>

#include "cli/messages.h"
#include "cli/output_paths.h"
#include "cli/output_writing.h"
#include "cli/report/verdict.h"
#include "cli/results/run_sources.h"
#include "cli/store_commands.h"

std::string checkedRunName(const std::string& which, const SavedRun& run) {
    return run.id > 0 ? "run #" + std::to_string(run.id) : which;
}

int runCheck(const CheckOptions& options, const CliStreams& streams) {
    if (!options.markdownPath.empty() && options.markdownPath != "-") {
        std::string unknown;
        const std::string storeFile = options.storePath.empty() ? defaultStorePath(unknown) : options.storePath;
        if (const std::string problem = outputPathProblem(options.markdownPath, "Markdown file", storeFile);
            !problem.empty())
            return usageError(streams, "check: " + problem);
        std::vector<NamedFile> inputs;
        for (const std::string* run : {&options.baseline, &options.candidate})
            if (!namesStoredRun(*run)) inputs.push_back({"check", *run});
        if (const std::string problem = sharedFileProblem({{"--markdown", options.markdownPath}}, inputs);
            !problem.empty())
            return usageError(streams, "check: " + problem);
    }

    SavedRun runs[2];
    const std::string* which[2] = {&options.baseline, &options.candidate};
    for (int i = 0; i < 2; ++i)
        if (const std::string problem = loadCompareRun(*which[i], options.storePath, runs[i]); !problem.empty())
            return usageError(streams, "check: " + problem);
    const Verdict verdict = judgeRuns(runs[0], checkedRunName(options.baseline, runs[0]), runs[1],
                                      checkedRunName(options.candidate, runs[1]), options.rules);
    if (verdict.figures.empty())
        return usageError(streams, "check: the two runs share no figure (the same figure measured with the same "
                                   "number of threads)");

    // With the Markdown on standard output, the verdict's lines go to standard error.
    std::FILE* lines = options.markdownPath == "-" ? streams.err : streams.out;
    for (const std::string& line : verdictLines(verdict)) std::fprintf(lines, "%s\n", line.c_str());
    std::fflush(lines);
    int status = verdictStatus(verdict);
    if (!options.markdownPath.empty()) {
        if (const std::string problem = writeDocument(options.markdownPath, verdictMarkdown(verdict), streams.out);
            !problem.empty()) {
            printError(streams, problem);
            if (status != kStatusWorse) status = 1;
        }
    }
    return status;
}
