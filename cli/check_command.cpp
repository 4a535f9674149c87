#include "cli/check_command.h"

#include <cstdio>

#include "cli/command_words.h"
#include "cli/messages.h"
#include "cli/output_paths.h"
#include "cli/output_writing.h"
#include "cli/report/verdict.h"
#include "cli/results/run_sources.h"
#include "cli/store_commands.h"

std::string checkedRunName(const std::string& which, long long storedId) {
    return storedId > 0 ? "run #" + std::to_string(storedId) : which;
}

int runCheck(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"--threshold", "--alpha", "--markdown", "--store"});
    if (!w.error.empty()) return usageError(streams, "check: " + w.error);
    if (w.words.size() != 2)
        return usageError(streams, "check needs two runs, BASELINE and CANDIDATE: each 'last', a stored run's id "
                                   "or a results file (see --help)");
    VerdictRules rules;
    std::string markdownPath, storePath;
    for (const auto& [name, value] : w.options) {
        if (name == "--threshold" && !decimalNumber(value, 0.0, 1000.0, rules.thresholdPercent))
            return usageError(streams, "check: --threshold needs a percentage from 0 to 1000, not '" + value + "'");
        if (name == "--alpha" && !alphaNumber(value, rules.alpha))
            return usageError(streams,
                              "check: --alpha needs a number above 0 and below 1, such as 0.01, not '" + value + "'");
        if (name == "--markdown") markdownPath = value;
        if (name == "--store") storePath = value;
    }
    if (!markdownPath.empty()) {
        std::string unknown;
        const std::string storeFile = storePath.empty() ? defaultStorePath(unknown) : storePath;
        if (const std::string problem = outputPathProblem(markdownPath, "Markdown file", storeFile); !problem.empty())
            return usageError(streams, "check: " + problem);
    }

    SavedRun runs[2];
    for (int i = 0; i < 2; ++i)
        if (const std::string problem = loadCompareRun(w.words[i], storePath, runs[i]); !problem.empty())
            return usageError(streams, "check: " + problem);
    const Verdict verdict = judgeRuns(runs[0], checkedRunName(w.words[0], runs[0].id), runs[1],
                                      checkedRunName(w.words[1], runs[1].id), rules);
    if (verdict.figures.empty())
        return usageError(streams, "check: the two runs share no figure (the same figure measured with the same "
                                   "number of threads)");

    for (const std::string& line : verdictLines(verdict)) std::fprintf(streams.out, "%s\n", line.c_str());
    std::fflush(streams.out);
    int status = verdictStatus(verdict);
    if (!markdownPath.empty()) {
        const std::string problem = writeDocument(markdownPath, verdictMarkdown(verdict), streams.out);
        if (!problem.empty()) {
            printError(streams, problem);
            if (status != kStatusWorse) status = 1;
        }
    }
    return status;
}
