#include "cli/options_help.h"

namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kTextColumn = 22;  // where an option's text starts

// `text` in lines of at most `width` characters after `indent` blanks
// (the first line's indent is left to the caller: `firstColumn` says where
// it starts), each line ended by '\n'.
std::string wrapped(const std::string& text, std::size_t indent, std::size_t firstColumn) {
    std::string out;
    std::size_t column = firstColumn;
    bool lineEmpty = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out + "\n";
}

std::string paragraph(const std::string& text) { return wrapped(text, 0, 0); }

struct HelpWords {
    const char* usage;  // the lines after "Usage: "
    const char* about;
    const char* after;  // "" for nothing
};

const char* const kRunExit =
    "Exit status: 0 after a run; 1 when the run could not be completed, or a file or the results store could "
    "not be written; 2 for bad usage, a run or results file to compare with that cannot be read, a display "
    "that cannot be opened for --window, no Japanese font, or a missing or unusable image (nothing is measured "
    "then); with --fail-on-regression 3 when a figure is worse (even when a file could not be written) and 4 "
    "when not one figure could be judged.";

HelpWords wordsOf(Command command) {
    switch (command) {
        case Command::Run:
            return {"pelorin-cli [run] [options]\n"
                    "       pelorin-cli COMMAND [options]   (pelorin-cli COMMAND --help for each)",
                    "Runs the benchmark stages without interaction, prints every figure and keeps the run in the "
                    "results store.",
                    kRunExit};
        case Command::History:
            return {"pelorin-cli history [--store FILE]",
                    "Lists the stored runs within 100 columns: id, date, mode (window or offscreen), label or "
                    "processor (cut short with \u2026), the Graphics and Processor indices and the true bandwidth of "
                    "the SSE reads in GB/s; '!' marks a run another benchmark version or architecture measured, and "
                    "a note below the table says why.",
                    "Exit status: 0, also for a store that holds no run yet; 2 for bad usage or a store that cannot "
                    "be read."};
        case Command::Report:
            return {"pelorin-cli report [RUN...|--last N] [-o FILE.html] [--markdown FILE]\n"
                    "                          [--csv FILE] [--store FILE]",
                    "Writes the chosen runs as one HTML page, as Markdown or as CSV. Each RUN is a stored run's id "
                    "(see history) or 'last', the newest; without any, the newest run. Each run is named by its id "
                    "and its label or, without one, its processor.",
                    "Exit status: 0 when every file was written; 1 when one could not be; 2 for bad usage or a run "
                    "or store that cannot be read."};
        case Command::Export:
            return {"pelorin-cli export RUN [-o FILE] [--store FILE]",
                    "Writes a stored run (its id, or 'last': the newest) as a results document, with everything "
                    "the run's own --json document held.",
                    "Exit status: 0 when it was written; 1 when it could not be; 2 for bad usage or a run or store "
                    "that cannot be read."};
        case Command::Import:
            return {"pelorin-cli import FILE... [--store FILE]",
                    "Stores the run of each results file once: a run the store holds already (the same run id, or "
                    "the same content for files without one) is not stored again. One line per file says "
                    "'imported as run N', 'already stored as run N' or 'refused:' and why.",
                    "Exit status: 0 when every file was imported or already stored; 1 when any file was refused "
                    "(the others are still imported) or the store cannot take runs; 2 for bad usage."};
        case Command::Check:
            return {"pelorin-cli check BASELINE CANDIDATE [--threshold PCT] [--alpha A]\n"
                    "                         [--markdown FILE] [--store FILE]",
                    "Judges CANDIDATE against BASELINE, each 'last', a stored run's id or a --json file, and "
                    "measures nothing: a figure in both runs is worse (or better) when a rank test on their "
                    "samples rejects equality, Holm-adjusted p <= A, and its median changed by more than PCT "
                    "percent.",
                    "Exit status: 3 when a figure is worse (even when the Markdown file could not be written), 4 "
                    "when not one figure could be judged, 0 when none is worse; 1 when the Markdown file could not "
                    "be written; 2 for bad usage, a run that cannot be read, or runs that share no figure."};
    }
    return wordsOf(Command::Run);
}

const char* const kCommandList =
    "Commands:\n"
    "  run                 the default: measure, print and keep a run\n"
    "  history             list the stored runs\n"
    "  report              write stored runs as an HTML page, Markdown or CSV\n"
    "  export              write a stored run as a results file\n"
    "  import              store the runs of results files\n"
    "  check               judge one run against another; measures nothing\n";

const char* const kStandardOutput =
    "A FILE that an option writes may be '-', standard output; one output at most may take it. Two outputs may "
    "not name the same file.";
const char* const kTextToStandardError = " The text report then goes to standard error.";
const char* const kVerdictToStandardError = " The verdict's lines then go to standard error.";

}  // namespace

std::string commandHelp(Command command, const std::vector<HelpOption>& options) {
    const HelpWords words = wordsOf(command);
    std::string text = std::string("Usage: ") + words.usage + "\n" + paragraph(words.about) + "\n";
    for (const HelpOption& o : options) {
        std::string line = "  " + o.names;
        if (line.size() + 2 > kTextColumn)
            line += "  ";
        else
            line += std::string(kTextColumn - line.size(), ' ');
        text += line + wrapped(o.text, kTextColumn, line.size());
    }
    text += "\n";
    if (command == Command::Run)
        text += paragraph(std::string(kStandardOutput) + kTextToStandardError) + "\n";
    else if (command == Command::Check)
        text += paragraph(std::string(kStandardOutput) + kVerdictToStandardError) + "\n";
    else if (command == Command::Report)
        text += paragraph(kStandardOutput) + "\n";
    if (command == Command::Run) text += std::string(kCommandList) + "\n";
    return text + paragraph(words.after);
}
