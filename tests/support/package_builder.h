#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small package files byte by byte, for tests of the package reader.
namespace torvane::testing {

class Bytes {
public:
    Bytes& Byte(int value);
    Bytes& Word(int value);
    Bytes& DWord(std::int64_t value);
    Bytes& Float(float value);
    Bytes& Compact(std::int32_t value);
    Bytes& Raw(const std::string& bytes);
    Bytes& Append(const Bytes& other);
    // A name string: zero-terminated below version 64, length-prefixed from 64 on.
    Bytes& Name(const std::string& text, int version);
    const std::string& str() const { return data_; }
    std::size_t size() const { return data_.size(); }

private:
    std::string data_;
};

struct BuiltExport {
    std::int32_t classIndex = 0;
    std::int32_t superIndex = 0;
    std::int32_t packageIndex = 0;
    std::int32_t objectName = 0;
    std::uint32_t objectFlags = 0;
    std::string serial;  // empty: SerialSize 0 and no SerialOffset field
};

struct BuiltImport {
    std::int32_t classPackage = 0;
    std::int32_t className = 0;
    std::int32_t packageIndex = 0;
    std::int32_t objectName = 0;
};

struct PackageSpec {
    int version = 69;
    std::uint32_t flags = 1;
    std::vector<std::string> names;
    std::vector<BuiltImport> imports;
    std::vector<BuiltExport> exports;
    int generations = 1;     // version 68 and above
    int heritageGuids = 1;   // below 68
};

std::string BuildPackage(const PackageSpec& spec);

}  // namespace torvane::testing
