// How pelorin-cli puts what it makes where it was asked to: documents and
// reports into the files of the output options, and everything else onto
// standard output.  Nothing written is ever reported as written when it was
// lost, and a file that could not be written keeps what it held before.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "cli/runner.h"

// Writes `text` to the file `path` names, or to `standardOutput` for "-"
// and for a path that names the program's standard output itself
// (/dev/stdout).  Every document and report pelorin-cli writes comes
// through here.  "" when written, else a one-line reason naming the file.
// A file is replaced as writeOutputFile replaces it.  Standard output is
// checked once, when the program ends (finishStandardOutput).
std::string writeDocument(const std::string& path, std::string_view text, std::FILE* standardOutput);

// Writes a file by handing `write` the name of the file to fill, which it
// opens itself (the screenshot's PNG writer does), returning false when it
// could not.  A regular file, or a name that is not there yet, is written
// as a temporary file in the same folder (".pelorin-cli-XXXXXX"), with the
// permissions the old file had or a new one gets, flushed to the disk and
// then renamed over the old one: until then the old file stays as it was,
// and on any failure the temporary file is removed.  A symbolic link keeps
// leading where it led, to the new file.  A file that may not be written
// is refused as opening it would be.  A device or FIFO (/dev/null, a pipe)
// is written in place, and a FIFO that no program reads is refused at once
// rather than waited on.  "" when written, else a one-line reason.
std::string writeOutputFile(const std::string& path, const std::function<bool(const std::string& file)>& write);

// The program's standard output as a stream that remembers why the first
// write to it failed, so that the end of the program can say so.  Also
// makes a reader that goes away (a pipe closed early, `| head`) a failed
// write instead of a signal that would end the program at once: a run is
// still saved in the store, and its files written.  A standard descriptor
// closed at the start is held by /dev/null, so that no file opened later
// takes its number; a closed standard output still fails every write.
std::FILE* openStandardOutput();

// Ends `status`'s program: flushes and closes standard output (streams.out
// and the C library's stdout).  When a write to it failed, says so in one
// line and returns 1 instead of 0 or 4 (a worse verdict, 3, and bad usage,
// 2, stay).  When the reader went away early, ends quietly: with the
// status the command gave when it was not 0, else killed by SIGPIPE, as
// the other programs of a pipeline end when they lose their reader.
int finishStandardOutput(int status, const CliStreams& streams);
