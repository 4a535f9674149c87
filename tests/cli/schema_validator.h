// Checks a JSON document against a JSON Schema, for the keywords our
// results schema uses: type, const, enum, required, properties,
// additionalProperties (false), items, minItems, minimum, maximum, anyOf and
// $ref to "#/$defs/...".  A keyword it does not know fails the check, so the
// schema cannot quietly outgrow it.
#pragma once

#include <string>
#include <vector>

#include "cli/json.h"

// Empty when `document` satisfies `schema`; otherwise one line per
// violation, each naming the JSON pointer of the offending value.
std::vector<std::string> validateAgainstSchema(const Json& document, const Json& schema);
