#!/usr/bin/env python3
"""Checks the fleet artifact against what zorvikc really gives.

usage: check_artifact.py ARTIFACT.yaml SCHEMA.json [REPORT.json]

The artifact must parse as YAML, name the artifact and its two tools, use every parameter it
declares and no other, and read from each program of the report only fields the report's schema
has. With REPORT (the output of the command line the artifact runs), every program in it must
have those fields too: a query that reads a field the tool does not write gives empty columns
without any error on a fleet.
"""
import json
import re
import sys

import yaml

ARTIFACT_NAME = "Windows.Detection.Zorvik"
TOOLS = {"Zorvikc": "zorvikc.exe", "ZorvikScanIni": "Scan.ini"}
# Names VQL gives: plugin columns read by the query, and its constants.
VQL_NAMES = {"OSPath", "Stdout", "ReturnCode", "Json", "TRUE", "FALSE", "Artifact"}
VQL_KEYWORDS = {"SELECT", "FROM", "WHERE", "AS", "LET"}


def fail(message):
    print(f"check_artifact: {message}")
    sys.exit(1)


def without_strings(query):
    return re.sub(r'"[^"]*"|\'[^\']*\'', '""', query)


def variables_used(query):
    code = without_strings(query)
    defined = set(re.findall(r"\bLET\s+([A-Za-z_]\w*)", code))
    aliases = set(re.findall(r"\bAS\s+([A-Za-z_]\w*)", code))
    used = set()
    for match in re.finditer(r"(?<![.\w])([A-Z]\w*)\b(?!\s*\()", code):
        name = match.group(1)
        if name in VQL_KEYWORDS or name in VQL_NAMES or name in aliases or name in defined:
            continue
        # Arguments are named: "ToolName=" is the plugin's parameter, not a variable.
        if re.match(r"\s*=(?!=)", code[match.end():]):
            continue
        used.add(name)
    return used


def top_level_parts(text):
    parts, depth, start = [], 0, 0
    for i, c in enumerate(text):
        depth += c in "([{"
        depth -= c in ")]}"
        if c == "," and depth == 0:
            parts.append(text[start:i])
            start = i + 1
    return parts + [text[start:]]


def program_columns(query):
    """The dotted field paths the per-program query reads, by the column they fill."""
    body = without_strings(query)
    inner = re.search(r"foreach\(row=[^,]*\.programs,\s*query=\{\s*SELECT(.*?)FROM scope\(\)", body,
                      re.S)
    if not inner:
        fail("no query over the report's programs")
    columns = {}
    for part in top_level_parts(inner.group(1)):
        named = re.fullmatch(r"\s*(.+?)\s+AS\s+(\w+)\s*", part, re.S)
        if not named:
            fail(f"a column without a name: {part.strip()!r}")
        expression, column = named.groups()
        joined = re.fullmatch(r"join\(array=([\w.]+),\s*sep=\"\"\)", expression)
        field = joined.group(1) if joined else expression
        if not re.fullmatch(r"[a-z]\w*(\.\w+)*", field):
            fail(f"column {column} reads {expression!r}, not a field of the report")
        columns[column] = field
    return columns


def schema_has(schema, node, path):
    node = resolve(schema, node)
    if not path:
        return True
    if node.get("type") == "array" or "items" in node:
        return schema_has(schema, node["items"], path)
    properties = node.get("properties", {})
    return path[0] in properties and schema_has(schema, properties[path[0]], path[1:])


def resolve(schema, node):
    while "$ref" in node:
        node = schema["$defs"][node["$ref"].split("/")[-1]]
    return node


def report_has(value, path):
    if not path:
        return True
    if isinstance(value, list):
        return all(report_has(item, path) for item in value)
    if value is None:
        return True  # a null object (a file not read) holds no fields, and that is allowed
    return isinstance(value, dict) and path[0] in value and report_has(value[path[0]], path[1:])


def main(argv):
    if len(argv) not in (3, 4):
        fail(__doc__.strip().splitlines()[2])
    with open(argv[1], encoding="utf-8") as f:
        artifact = yaml.safe_load(f)
    with open(argv[2], encoding="utf-8") as f:
        schema = json.load(f)

    if artifact.get("name") != ARTIFACT_NAME:
        fail(f"the artifact is named {artifact.get('name')!r}")
    tools = {tool["name"]: tool.get("filename") for tool in artifact.get("tools", [])}
    if tools != TOOLS:
        fail(f"the tools are {tools}, not {TOOLS}")
    parameters = {p["name"] for p in artifact.get("parameters", [])}
    query = "\n".join(source["query"] for source in artifact["sources"])
    used = variables_used(query)
    if used - parameters:
        fail(f"the query uses {sorted(used - parameters)}, which are no parameters")
    if parameters - used:
        fail(f"the parameters {sorted(parameters - used)} are never used")
    level = next(p for p in artifact["parameters"] if p["name"] == "Level")
    if level["default"] not in level["choices"]:
        fail("the level's default is none of its choices")

    columns = program_columns(query)
    program = schema["$defs"]["program"]
    for column, field in columns.items():
        if not schema_has(schema, program, field.split(".")):
            fail(f"column {column} reads {field}, which the report's schema does not have")

    if len(argv) == 4:
        with open(argv[3], encoding="utf-8") as f:
            report = json.load(f)
        programs = report.get("programs")
        if not isinstance(programs, list) or not programs:
            fail(f"{argv[3]} lists no programs to check the columns against")
        for column, field in columns.items():
            if not all(report_has(p, field.split(".")) for p in programs):
                fail(f"column {column}: a program of {argv[3]} has no {field}")
    print(f"check_artifact: {len(parameters)} parameters, {len(columns)} columns: as the report has them")


if __name__ == "__main__":
    main(sys.argv)
