#include "cli/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

Json Json::of(bool b) {
    Json j;
    j.type = Type::Bool;
    j.boolean = b;
    return j;
}

Json Json::of(double n) {
    Json j;
    if (!std::isfinite(n)) return j;
    j.type = Type::Number;
    j.number = n;
    return j;
}

Json Json::of(std::string s) {
    Json j;
    j.type = Type::String;
    j.text = std::move(s);
    return j;
}

Json Json::array() {
    Json j;
    j.type = Type::Array;
    return j;
}

Json Json::object() {
    Json j;
    j.type = Type::Object;
    return j;
}

Json& Json::add(Json item) {
    items.push_back(std::move(item));
    return items.back();
}

Json& Json::set(const std::string& key, Json value) {
    for (auto& m : members)
        if (m.first == key) return m.second = std::move(value);
    members.emplace_back(key, std::move(value));
    return members.back().second;
}

const Json* Json::find(const std::string& key) const {
    if (type != Type::Object) return nullptr;
    for (const auto& m : members)
        if (m.first == key) return &m.second;
    return nullptr;
}

namespace {

void writeString(std::string& out, const std::string& s) {
    out += '"';
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (u < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", u);
                    out += esc;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void writeNumber(std::string& out, double n) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    out.append(buffer, result.ptr);
}

void writeValue(std::string& out, const Json& v, int depth) {
    const std::string indent(static_cast<std::size_t>(depth + 1) * 2, ' ');
    const std::string closing(static_cast<std::size_t>(depth) * 2, ' ');
    switch (v.type) {
        case Json::Type::Null: out += "null"; break;
        case Json::Type::Bool: out += v.boolean ? "true" : "false"; break;
        case Json::Type::Number: writeNumber(out, v.number); break;
        case Json::Type::String: writeString(out, v.text); break;
        case Json::Type::Array: {
            if (v.items.empty()) {
                out += "[]";
                break;
            }
            // Arrays of plain numbers (samples) stay on one line.
            bool flat = true;
            for (const Json& item : v.items) flat = flat && item.type != Json::Type::Array && item.type != Json::Type::Object;
            out += flat ? "[" : "[\n";
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (!flat) out += indent;
                writeValue(out, v.items[i], depth + 1);
                if (i + 1 < v.items.size()) out += flat ? ", " : ",\n";
            }
            out += flat ? "]" : "\n" + closing + "]";
            break;
        }
        case Json::Type::Object: {
            if (v.members.empty()) {
                out += "{}";
                break;
            }
            out += "{\n";
            for (std::size_t i = 0; i < v.members.size(); ++i) {
                out += indent;
                writeString(out, v.members[i].first);
                out += ": ";
                writeValue(out, v.members[i].second, depth + 1);
                if (i + 1 < v.members.size()) out += ',';
                out += '\n';
            }
            out += closing + "}";
            break;
        }
    }
}

struct Reader {
    const std::string& s;
    std::size_t pos = 0;
    std::string error;

    bool fail(const char* what) {
        if (error.empty()) error = std::string(what) + " at byte " + std::to_string(pos);
        return false;
    }
    void skipSpace() {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\n' || s[pos] == '\r')) ++pos;
    }
    bool literal(const char* word) {
        const std::string w(word);
        if (s.compare(pos, w.size(), w) != 0) return fail("unexpected text");
        pos += w.size();
        return true;
    }

    bool value(Json& out, int depth) {
        if (depth > 64) return fail("nesting too deep");
        skipSpace();
        if (pos >= s.size()) return fail("unexpected end");
        const char c = s[pos];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out = Json::of(std::string());
            return string(out.text);
        }
        if (c == 't') {
            out = Json::of(true);
            return literal("true");
        }
        if (c == 'f') {
            out = Json::of(false);
            return literal("false");
        }
        if (c == 'n') {
            out = Json::null();
            return literal("null");
        }
        return number(out);
    }

    bool number(Json& out) {
        const std::size_t start = pos;
        if (pos < s.size() && s[pos] == '-') ++pos;
        if (pos >= s.size() || s[pos] < '0' || s[pos] > '9') return fail("not a value");
        while (pos < s.size() && ((s[pos] >= '0' && s[pos] <= '9') || s[pos] == '.' || s[pos] == 'e' ||
                                  s[pos] == 'E' || s[pos] == '+' || s[pos] == '-'))
            ++pos;
        double n = 0.0;
        const auto result = std::from_chars(s.data() + start, s.data() + pos, n);
        if (result.ec != std::errc() || result.ptr != s.data() + pos) return fail("malformed number");
        out = Json::of(n);
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool hex4(unsigned& code) {
        if (pos + 4 > s.size()) return fail("short \\u escape");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s[pos++];
            code <<= 4;
            if (h >= '0' && h <= '9') code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f') code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') code |= static_cast<unsigned>(h - 'A' + 10);
            else return fail("bad \\u escape");
        }
        return true;
    }

    bool string(std::string& out) {
        ++pos;  // opening quote
        while (pos < s.size()) {
            const char c = s[pos++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos >= s.size()) break;
            const char e = s[pos++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0;
                    if (!hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && s.compare(pos, 2, "\\u") == 0) {
                        pos += 2;
                        unsigned low = 0;
                        if (!hex4(low)) return false;
                        if (low < 0xDC00 || low > 0xDFFF) return fail("bad surrogate pair");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(out, code);
                    break;
                }
                default: return fail("bad escape");
            }
        }
        return fail("unterminated string");
    }

    bool array(Json& out, int depth) {
        out = Json::array();
        ++pos;
        skipSpace();
        if (pos < s.size() && s[pos] == ']') {
            ++pos;
            return true;
        }
        for (;;) {
            Json item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
            skipSpace();
            if (pos < s.size() && s[pos] == ',') {
                ++pos;
                continue;
            }
            if (pos < s.size() && s[pos] == ']') {
                ++pos;
                return true;
            }
            return fail("expected ',' or ']'");
        }
    }

    bool object(Json& out, int depth) {
        out = Json::object();
        ++pos;
        skipSpace();
        if (pos < s.size() && s[pos] == '}') {
            ++pos;
            return true;
        }
        for (;;) {
            skipSpace();
            if (pos >= s.size() || s[pos] != '"') return fail("expected a member name");
            std::string key;
            if (!string(key)) return false;
            skipSpace();
            if (pos >= s.size() || s[pos] != ':') return fail("expected ':'");
            ++pos;
            Json member;
            if (!value(member, depth + 1)) return false;
            out.members.emplace_back(std::move(key), std::move(member));
            skipSpace();
            if (pos < s.size() && s[pos] == ',') {
                ++pos;
                continue;
            }
            if (pos < s.size() && s[pos] == '}') {
                ++pos;
                return true;
            }
            return fail("expected ',' or '}'");
        }
    }
};

}  // namespace

std::string writeJson(const Json& value) {
    std::string out;
    writeValue(out, value, 0);
    out += '\n';
    return out;
}

bool parseJson(const std::string& text, Json& out, std::string& error) {
    Reader r{text, 0, {}};
    Json result;
    if (!r.value(result, 0)) {
        error = r.error;
        return false;
    }
    r.skipSpace();
    if (r.pos != text.size()) {
        r.fail("text after the document");
        error = r.error;
        return false;
    }
    out = std::move(result);
    return true;
}
