#include "unrealpkg/ut_object.h"

#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg {

TUTObject::TUTObject(TUTPackage& package, int exportIndex)
    : package_(package), exportIndex_(exportIndex) {}

TUTObject::~TUTObject() = default;

TUTExportTableObjectData& TUTObject::exportEntry() const {
    return *package_.GetExport(exportIndex_);
}

void TUTObject::ReadObject(bool parse) {
    ++loadCount_;
    if (dataLoaded_ && (!parse || parsed_ || parsing_)) return;
    try {
        if (!dataLoaded_) {
            // A view of the bytes the package read, checked against the file; nothing is copied.
            const TUTExportTableObjectData& entry = exportEntry();
            serialOffset_ = entry.SerialOffset;
            data_ = std::make_unique<TUTMemoryStream>(
                entry.SerialSize > 0 ? package_.FileBytes(entry.SerialOffset, entry.SerialSize)
                                     : TUTMemoryStream());
            dataLoaded_ = true;
        }
        if (parse && !parsed_ && !parsing_ && data_->Size() > 0) {
            parsing_ = true;
            InitData();
            data_->Seek(0);
            try {
                ParseData();
            } catch (...) {
                parsing_ = false;
                throw;
            }
            parsing_ = false;
            data_->Seek(0);
            parsed_ = true;
        }
    } catch (...) {
        --loadCount_;
        if (dataLoaded_ && loadCount_ == 0) {
            FreeData();
            dataLoaded_ = false;
            parsed_ = false;
        }
        throw;
    }
}

void TUTObject::Release() {
    if (loadCount_ <= 0) return;
    if (--loadCount_ == 0 && dataLoaded_) {
        FreeData();
        dataLoaded_ = false;
        parsed_ = false;
    }
}

std::string TUTObject::GetObjectName() const { return exportEntry().GetObjectName(); }
std::string TUTObject::GetClassName() const { return exportEntry().GetClassName(); }
std::string TUTObject::GetFullPath() const { return package_.GetObjectPath(-1, exportIndex_ + 1); }
std::int32_t TUTObject::GetSuper() const { return exportEntry().SuperIndex; }
std::int32_t TUTObject::GetClassRef() const { return exportEntry().ClassIndex; }
std::uint32_t TUTObject::GetObjectFlags() const { return exportEntry().ObjectFlags; }

TUTPropertyList& TUTObject::Properties() {
    EnsureRead();
    return properties_;
}

TUTMemoryStream& TUTObject::Data() {
    EnsureRead();
    return *data_;
}

void TUTObject::EnsureRead() const {
    if (!dataLoaded_) {
        throw ObjectNotReadError(GetObjectName() + ": ReadObject was not called for this object!");
    }
}

void TUTObject::InitData() { properties_.Clear(); }

void TUTObject::ParseData() {
    TUTMemoryStream& s = *data_;
    if (GetObjectFlags() & kStateFrameFlag) {
        const std::int32_t node = package_.ReadCompactIndex(&s);
        package_.ReadCompactIndex(&s);  // StateNode
        package_.ReadQWord(&s);         // ProbeMask
        package_.ReadDWord(&s);         // LatentAction
        if (node != 0) package_.ReadCompactIndex(&s);  // Offset
    }
    if (GetClassRef() != 0) ReadProperties();
}

void TUTObject::FreeData() {
    data_.reset();
    properties_.Clear();
}

void TUTObject::ReadProperties() {
    TUTMemoryStream& s = *data_;
    for (;;) {
        TUTProperty& property = properties_.Add();
        property.owner = this;
        property.package = &package_;
        if (!ReadPropertyTag(package_, property, s)) break;
    }
    properties_.FixArrayIndices();
}

}  // namespace torvane::unrealpkg
