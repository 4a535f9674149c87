#!/usr/bin/env python3
"""Checks the results documents the pelorin-cli tests wrote against the schema.

Usage: validate_documents.py SCHEMA FOLDER [FIXTURE...]

Every FOLDER/valid/*.json and every FIXTURE must satisfy the schema; every
FOLDER/invalid/*.json must not, which shows that the check sees real faults.
"""
import json
import pathlib
import sys

import jsonschema


def main():
    schema_path, folder, *fixtures = sys.argv[1:]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)

    folder = pathlib.Path(folder)
    valid = sorted((folder / "valid").glob("*.json")) + [pathlib.Path(p) for p in fixtures]
    invalid = sorted((folder / "invalid").glob("*.json"))
    if not list((folder / "valid").glob("*.json")) or not invalid:
        print(f"no documents in {folder}/valid or {folder}/invalid: did the pelorin-cli tests run?")
        return 1

    failures = 0
    for path in valid:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        for error in validator.iter_errors(document):
            print(f"{path}: {'/'.join(map(str, error.absolute_path)) or '(top)'}: {error.message}")
            failures += 1
    for path in invalid:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        if validator.is_valid(document):
            print(f"{path}: a broken document passed the schema")
            failures += 1
    print(f"{len(valid)} documents checked against {schema_path}, {len(invalid)} broken ones rejected, "
          f"{failures} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
