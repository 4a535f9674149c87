// A small JSON value with a writer and a strict reader: enough for the
// results document, nothing more.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<Json> items;                           // Array
    std::vector<std::pair<std::string, Json>> members;  // Object, in insertion order

    static Json null() { return Json{}; }
    static Json of(bool b);
    static Json of(double n);  // a non-finite number becomes null
    static Json of(int n) { return of(static_cast<double>(n)); }
    static Json of(std::string s);
    static Json of(const char* s) { return of(std::string(s)); }
    static Json array();
    static Json object();

    Json& add(Json item);                        // appends to an array
    Json& set(const std::string& key, Json value);  // adds or replaces a member
    const Json* find(const std::string& key) const;  // null when absent or not an object

    bool isNumber() const { return type == Type::Number; }
    bool isString() const { return type == Type::String; }
    bool isArray() const { return type == Type::Array; }
    bool isObject() const { return type == Type::Object; }
};

// Two-space indented text; numbers in their shortest exact form.
std::string writeJson(const Json& value);

// Parses a whole document (one value, surrounded only by white space).  On
// failure returns false and names the problem and its byte offset in `error`.
bool parseJson(const std::string& text, Json& out, std::string& error);
