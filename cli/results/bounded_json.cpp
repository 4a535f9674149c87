#include "cli/results/bounded_json.h"

#include <vector>

namespace {

using Json = nlohmann::ordered_json;

// "[json.exception.parse_error.101] parse error at line 1, column 1: ..." without the bracket.
std::string withoutPrefix(const std::string& what) {
    const std::size_t bracket = what.find("] ");
    return bracket == std::string::npos ? what : what.substr(bracket + 2);
}

// A first pass that builds nothing: it counts depth and values and stops at
// the first limit crossed or the first syntax error.  The parser itself
// keeps its state on the heap, so a deep text cannot hurt this pass.
class LimitCheck : public nlohmann::json_sax<Json> {
public:
    std::string problem;

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool string(string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool start_object(std::size_t) override { return open(); }
    bool key(string_t&) override {
        if (++members_.back() <= kMaxJsonMembers) return true;
        problem = "it has an object of more than " + std::to_string(kMaxJsonMembers) + " members";
        return false;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        problem = "it is not JSON (" + withoutPrefix(e.what()) + ")";
        return false;
    }

private:
    int depth_ = 0;
    std::size_t values_ = 0;
    std::vector<std::size_t> members_;  // of each open object or array

    bool value() {
        if (++values_ <= kMaxJsonValues) return true;
        problem = "it holds more than " + std::to_string(kMaxJsonValues) + " values";
        return false;
    }
    bool open() {
        if (++depth_ > kMaxJsonDepth) {
            problem = "it is nested more than " + std::to_string(kMaxJsonDepth) + " deep";
            return false;
        }
        members_.push_back(0);
        return value();
    }
    bool close() {
        --depth_;
        members_.pop_back();
        return true;
    }
};

}  // namespace

std::string boundedJsonProblem(std::string_view text) {
    if (text.size() > kMaxJsonBytes) return "it is larger than " + std::to_string(kMaxJsonBytes >> 20) + " MiB";
    try {
        LimitCheck check;
        if (!Json::sax_parse(text, &check)) return check.problem.empty() ? "it is not valid JSON" : check.problem;
        return "";
    } catch (const Json::exception& e) {
        return "it is not JSON (" + withoutPrefix(e.what()) + ")";
    }
}

bool parseBoundedJson(std::string_view text, Json& out, std::string& error) {
    error = boundedJsonProblem(text);
    if (!error.empty()) return false;
    try {
        out = Json::parse(text);
        return true;
    } catch (const Json::exception& e) {
        error = "it is not JSON (" + withoutPrefix(e.what()) + ")";
        return false;
    }
}
