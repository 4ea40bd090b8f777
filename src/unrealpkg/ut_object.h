#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "unrealpkg/ut_properties.h"
#include "unrealpkg/ut_stream.h"

// The reader object of one export: loads the export's serial bytes, parses them into fields and
// owns the tagged properties. Subclasses (ut_script_objects.h, ut_resource_objects.h) add the
// fields of their kind.
namespace torvane::unrealpkg {

class TUTPackage;
class TUTExportTableObjectData;

// Raised by a field accessor of an object whose data is not loaded.
class ObjectNotReadError final : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class TUTObject {
public:
    TUTObject(TUTPackage& package, int exportIndex);
    virtual ~TUTObject();
    TUTObject(const TUTObject&) = delete;
    TUTObject& operator=(const TUTObject&) = delete;

    // Loads the serial data (and parses it when asked); every call needs a matching Release.
    void ReadObject(bool parse);
    void Release();

    std::string GetObjectName() const;
    std::string GetClassName() const;
    std::string GetFullPath() const;
    std::int32_t GetSuper() const;
    std::int32_t GetClassRef() const;
    std::uint32_t GetObjectFlags() const;
    TUTPropertyList& Properties();

    bool DataLoaded() const { return dataLoaded_; }
    bool Parsed() const { return parsed_; }
    int LoadCount() const { return loadCount_; }
    TUTPackage& package() const { return package_; }
    int exportIndex() const { return exportIndex_; }
    TUTExportTableObjectData& exportEntry() const;
    std::int32_t serialOffset() const { return serialOffset_; }

    // The serial bytes, a view of what the package read (requires loaded data).
    TUTMemoryStream& Data();

protected:
    virtual void InitData();
    virtual void ParseData();
    virtual void FreeData();
    virtual void ReadProperties();

    // Throws ObjectNotReadError "<name>: ReadObject was not called for this object!".
    void EnsureRead() const;

private:
    TUTPackage& package_;
    const int exportIndex_;
    std::int32_t serialOffset_ = 0;
    bool dataLoaded_ = false;
    bool parsed_ = false;
    bool parsing_ = false;  // a read from inside the object's own parse does not parse again
    int loadCount_ = 0;
    TUTPropertyList properties_;
    std::unique_ptr<TUTMemoryStream> data_;
};

// RAII pairing of ReadObject and Release.
class ObjectReadScope final {
public:
    ObjectReadScope(TUTObject& object, bool parse) : object_(object) { object_.ReadObject(parse); }
    ~ObjectReadScope() { object_.Release(); }
    ObjectReadScope(const ObjectReadScope&) = delete;
    ObjectReadScope& operator=(const ObjectReadScope&) = delete;

private:
    TUTObject& object_;
};

}  // namespace torvane::unrealpkg
