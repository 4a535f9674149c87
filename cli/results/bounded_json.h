// JSON from a results file or a store's text column, parsed only within
// limits.  A document larger or deeper, or with more values, than anything
// pelorin-cli writes is refused before a DOM of it exists: nlohmann's DOM
// copies and prints itself recursively, so a deeply nested one would
// overflow the stack, and a huge one would take memory out of proportion.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

// A real run's document is a few kilobytes; 1,000 repeats of every figure
// at every thread count stay far below this.
constexpr std::size_t kMaxJsonBytes = 64u << 20;
// Our documents nest four deep.
constexpr int kMaxJsonDepth = 64;
// Numbers, strings and the rest together; a little above the samples a run
// may hold (see saved_run.h).
constexpr std::size_t kMaxJsonValues = 5000000;
// Members of one object.  Ours have a few dozen at most; the DOM keeps an
// object's members in order and looks each new key up among them, so the
// time to build an object grows with the square of its members.
constexpr std::size_t kMaxJsonMembers = 256;

// Parses a whole JSON text within the limits above.  On failure returns
// false with a short reason in `error`, which may quote the text: "it is
// not JSON (syntax error ... at line 1, column 9 ...)", "it is nested more
// than 64 deep", ... (a number beyond the range of a double is a syntax
// error here, not an exception).
bool parseBoundedJson(std::string_view text, nlohmann::ordered_json& out, std::string& error);

// The same check without building anything: "" when parseBoundedJson would
// accept `text`, else the reason it would give.
std::string boundedJsonProblem(std::string_view text);
