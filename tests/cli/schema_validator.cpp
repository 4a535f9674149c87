#include "cli/schema_validator.h"

#include <cmath>
#include <set>

namespace {

bool sameValue(const Json& a, const Json& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case Json::Type::Null: return true;
        case Json::Type::Bool: return a.boolean == b.boolean;
        case Json::Type::Number: return a.number == b.number;
        case Json::Type::String: return a.text == b.text;
        default: return false;  // the schema compares scalars only
    }
}

bool hasType(const Json& v, const std::string& type) {
    if (type == "null") return v.type == Json::Type::Null;
    if (type == "boolean") return v.type == Json::Type::Bool;
    if (type == "number") return v.type == Json::Type::Number;
    if (type == "integer") return v.type == Json::Type::Number && v.number == std::floor(v.number);
    if (type == "string") return v.type == Json::Type::String;
    if (type == "array") return v.type == Json::Type::Array;
    if (type == "object") return v.type == Json::Type::Object;
    return false;
}

struct Validator {
    const Json& root;
    std::vector<std::string> errors;

    void error(const std::string& at, const std::string& what) { errors.push_back((at.empty() ? "/" : at) + ": " + what); }

    void check(const Json& v, const Json& schema, const std::string& at) {
        static const std::set<std::string> known{"$schema", "title", "description", "type", "const", "enum",
                                                 "required", "properties", "additionalProperties", "items",
                                                 "minItems", "minimum", "maximum", "anyOf", "$ref", "$defs"};
        for (const auto& [key, value] : schema.members)
            if (!known.count(key)) error(at, "schema keyword '" + key + "' is not supported by this validator");

        if (const Json* ref = schema.find("$ref")) {
            const std::string prefix = "#/$defs/";
            const Json* defs = root.find("$defs");
            const Json* target = ref->text.rfind(prefix, 0) == 0 && defs ? defs->find(ref->text.substr(prefix.size())) : nullptr;
            if (target == nullptr) error(at, "unresolved $ref " + ref->text);
            else check(v, *target, at);
        }
        if (const Json* type = schema.find("type")) {
            bool ok = false;
            if (type->isString()) ok = hasType(v, type->text);
            for (const Json& t : type->items) ok = ok || hasType(v, t.text);
            if (!ok) error(at, "wrong type");
        }
        if (const Json* c = schema.find("const"); c && !sameValue(v, *c)) error(at, "not the constant value");
        if (const Json* e = schema.find("enum")) {
            bool found = false;
            for (const Json& option : e->items) found = found || sameValue(v, option);
            if (!found) error(at, "not one of the allowed values");
        }
        if (const Json* any = schema.find("anyOf")) {
            bool matched = false;
            for (const Json& option : any->items) {
                Validator inner{root, {}};
                inner.check(v, option, at);
                matched = matched || inner.errors.empty();
            }
            if (!matched) error(at, "matches none of anyOf");
        }
        if (v.isNumber()) {
            if (const Json* min = schema.find("minimum"); min && v.number < min->number) error(at, "below minimum");
            if (const Json* max = schema.find("maximum"); max && v.number > max->number) error(at, "above maximum");
        }
        if (v.isArray()) {
            if (const Json* min = schema.find("minItems"); min && static_cast<double>(v.items.size()) < min->number)
                error(at, "too few items");
            if (const Json* items = schema.find("items"))
                for (std::size_t i = 0; i < v.items.size(); ++i) check(v.items[i], *items, at + "/" + std::to_string(i));
        }
        if (v.isObject()) {
            if (const Json* required = schema.find("required"))
                for (const Json& name : required->items)
                    if (v.find(name.text) == nullptr) error(at, "missing '" + name.text + "'");
            const Json* properties = schema.find("properties");
            const Json* additional = schema.find("additionalProperties");
            for (const auto& [key, value] : v.members) {
                const Json* sub = properties ? properties->find(key) : nullptr;
                if (sub) check(value, *sub, at + "/" + key);
                else if (additional && additional->type == Json::Type::Bool && !additional->boolean)
                    error(at, "unexpected member '" + key + "'");
            }
        }
    }
};

}  // namespace

std::vector<std::string> validateAgainstSchema(const Json& document, const Json& schema) {
    Validator v{schema, {}};
    v.check(document, schema, "");
    return v.errors;
}
