// The files pelorin-cli reads from a path someone gave it: results files
// and results stores.  Such a path may name anything, and a FIFO nobody
// writes to (a tarball can carry one named laptop.json), a terminal or a
// tape blocks whoever opens it for reading; so only regular files are read.
#pragma once

#include <cstddef>
#include <string>

// "" when `path` names a regular file (through symbolic links) or nothing
// at all, else why it cannot be read as a file: "it is a folder", "it is a
// FIFO", "it is a device", "it is a socket".  Nothing is opened.
std::string notAFileProblem(const std::string& path);

// Reads the regular file at `path` into `text`, at most `limit` bytes.  The
// file is checked before it is opened, opened without waiting for a writer
// and checked once more, so a FIFO or a device put in its place meanwhile
// cannot block it either.  A file larger than `limit`, also one that grows
// while it is read, is refused once `limit` + 1 bytes are in.  On failure
// returns false with a short reason that does not repeat the path
// ("No such file or directory", "it is a FIFO", "it is larger than 64 MiB").
bool readInputFile(const std::string& path, std::size_t limit, std::string& text, std::string& error);
