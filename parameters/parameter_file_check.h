#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "parameters/parameter_table.h"

namespace lq {

inline constexpr std::string_view kParameterFileFormat = "lq-modbus-rtu parameters";
inline constexpr int kParameterFileVersion = 1;

// Where the set came from, as the file says it; for people, never checked.
struct ParameterFileHeader {
    std::string saved; // ISO 8601 local time with its offset
    std::string port;
    std::uint32_t baud = 0;
    std::string framing;
    int address = 0;
    std::string label;
};

// One entry of the file's list as read: a field that is missing or no number is empty.
struct ParameterFileEntry {
    std::optional<double> reg;
    std::optional<double> raw;
};

// A parameter file as read, before any check. The reader fills in what it found; the check judges it.
struct ParameterFileContent {
    std::optional<std::string> format;
    std::optional<double> version;
    bool hasParameterList = false;
    std::vector<ParameterFileEntry> parameters;
    ParameterFileHeader header;
};

enum class FileProblem : std::uint8_t {
    None,
    NotJson,         // not a JSON object at all
    WrongFormat,     // no or another format name
    WrongVersion,    // a version this program does not read
    NoParameterList, // "parameters" missing or no list
    EmptyList,
    BadRegister,   // missing, not a whole number
    NotAParameter, // a register outside the seven
    BadRaw,        // missing, or no value an operator entry could write to the register
    Duplicate,     // the same register a second time
};

struct FileCheck {
    FileProblem problem = FileProblem::None;
    int index = -1;   // the list entry at fault, from 0
    double reg = 0;   // its register, where it has one
    double raw = 0;   // its raw value, where it has one
    ParameterSet set; // when the problem is None
};

// The whole file judged: format name and version, then every entry. The first fault found is the answer,
// and a file with any fault gives no set at all, so nothing of it can be written.
FileCheck CheckParameterFile(const ParameterFileContent& content);

} // namespace lq
