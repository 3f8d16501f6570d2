#pragma once

#include <QString>
#include <optional>

#include "parameters/parameter_file_check.h"

namespace lq {

// A parameter file read and checked: the set when it passed, else the reason it was refused.
struct LoadedParameters {
    std::optional<ParameterSet> set;
    ParameterFileHeader header;
    QString error;
};

// Reads the UTF-8 JSON file and checks all of it (modbus-free JSON reading here, the rules in the plain
// room).
LoadedParameters LoadParameterFile(const QString& path);

// Writes the set to a temporary file beside `path` and renames it over `path` once it is complete, so a
// failed run leaves no partial file. An empty result means written; else the reason.
QString SaveParameterFile(const QString& path, const ParameterFileHeader& header, const ParameterSet& set);

// ISO 8601 local time with the zone's offset, as a file's "saved".
QString SavedNow();

} // namespace lq
