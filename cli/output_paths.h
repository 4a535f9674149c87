// The files pelorin-cli is asked to write (reports, JSON, a screenshot),
// checked before anything is measured or written.
#pragma once

#include <string>
#include <vector>

// "" when `path` may be written, else a one-line reason naming it and
// `what` ("JSON file").  Refused: the results store at `storePath` itself
// (the same path, a symbolic or hard link to it) or its companions -wal,
// -shm and -journal, which a report would destroy; a folder; a file in a
// folder that is missing or that we may not write.
std::string outputPathProblem(const std::string& path, const std::string& what, const std::string& storePath);

// An option and the file it names, for the check below.
struct NamedFile {
    std::string option;  // "--json"
    std::string path;
};

// "" when no two of `outputs` name one file (the same path, through
// symbolic links, or a hard link to it) and none of them names a file of
// `inputs`; else a one-line reason naming both options.  "-" (standard
// output) and "" are no files.
std::string sharedFileProblem(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs = {});
