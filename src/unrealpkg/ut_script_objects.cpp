#include "unrealpkg/ut_script_objects.h"

#include "unrealpkg/ut_decompiler.h"

namespace torvane::unrealpkg {
namespace {

// A count read from the data must fit into what remains, given each entry's smallest size.
void CheckCount(std::int32_t count, std::int64_t entryBytes, const TUTStream& stream) {
    if (count < 0 || static_cast<std::int64_t>(count) * entryBytes > stream.Remaining()) {
        throw StreamError("Stream read error");
    }
}

}  // namespace

void TUTObjectClassField::InitData() {
    TUTObject::InitData();
    superField_ = 0;
    next_ = 0;
}

void TUTObjectClassField::ParseData() {
    TUTObject::ParseData();
    superField_ = package().ReadCompactIndex(&Data());
    next_ = package().ReadCompactIndex(&Data());
}

void TUTObjectClassEnum::InitData() {
    TUTObjectClassField::InitData();
    values_.clear();
}

void TUTObjectClassEnum::ParseData() {
    TUTObjectClassField::ParseData();
    const std::int32_t count = package().ReadCompactIndex(&Data());
    CheckCount(count, 1, Data());
    for (std::int32_t i = 0; i < count; ++i) {
        values_.push_back(package().GetName(package().ReadCompactIndex(&Data())));
    }
}

void TUTObjectClassConst::InitData() {
    TUTObjectClassField::InitData();
    value_.clear();
}

void TUTObjectClassConst::ParseData() {
    TUTObjectClassField::ParseData();
    value_ = package().ReadSizedString(&Data());
    if (!value_.empty()) value_.pop_back();
}

void TUTObjectClassProperty::InitData() {
    TUTObjectClassField::InitData();
    arrayDim_ = 0;
    elementSize_ = 0;
    propertyFlags_ = 0;
    category_.clear();
    repOffset_ = -1;
}

void TUTObjectClassProperty::ParseData() {
    TUTObjectClassField::ParseData();
    TUTPackage& p = package();
    arrayDim_ = p.ReadWord(&Data());
    elementSize_ = p.ReadWord(&Data());
    propertyFlags_ = p.ReadDWord(&Data());
    category_ = p.GetName(p.ReadCompactIndex(&Data()));
    repOffset_ = (propertyFlags_ & 0x20) ? p.ReadWord(&Data()) : -1;
}

void TUTObjectClassClassProperty::InitData() {
    TUTObjectClassObjectProperty::InitData();
    metaClass_ = 0;
}

void TUTObjectClassClassProperty::ParseData() {
    TUTObjectClassObjectProperty::ParseData();
    metaClass_ = package().ReadCompactIndex(&Data());
}

void TUTObjectClassFixedArrayProperty::InitData() {
    TUTObjectClassProperty::InitData();
    inner_ = 0;
    count_ = 0;
}

void TUTObjectClassFixedArrayProperty::ParseData() {
    TUTObjectClassProperty::ParseData();
    inner_ = package().ReadCompactIndex(&Data());
    count_ = package().ReadCompactIndex(&Data());
}

void TUTObjectClassMapProperty::InitData() {
    TUTObjectClassProperty::InitData();
    key_ = 0;
    value_ = 0;
}

void TUTObjectClassMapProperty::ParseData() {
    TUTObjectClassProperty::ParseData();
    key_ = package().ReadCompactIndex(&Data());
    value_ = package().ReadCompactIndex(&Data());
}

void TUTObjectClassStruct::InitData() {
    TUTObjectClassField::InitData();
    scriptText_ = 0;
    children_ = 0;
    friendlyName_.clear();
    line_ = 0;
    textPos_ = 0;
    scriptSize_ = 0;
    scriptStart_ = 0;
    state = {};
}

void TUTObjectClassStruct::ParseData() {
    TUTObjectClassField::ParseData();
    TUTPackage& p = package();
    scriptText_ = p.ReadCompactIndex(&Data());
    children_ = p.ReadCompactIndex(&Data());
    friendlyName_ = p.GetName(p.ReadCompactIndex(&Data()));
    line_ = p.ReadDWord(&Data());
    textPos_ = p.ReadDWord(&Data());
    scriptSize_ = static_cast<std::int32_t>(p.ReadDWord(&Data()));
    scriptStart_ = Data().Position();
}

void TUTObjectClassStruct::RewindScript() {
    Data().Seek(scriptStart_);
    state.Position = 0;
}

void TUTObjectClassFunction::InitData() {
    TUTObjectClassStruct::InitData();
    iNative_ = 0;
    operatorPrecedence_ = 0;
    functionFlags_ = 0;
    repOffset_ = 0xFFFF;
}

void TUTObjectClassFunction::ParseData() {
    TUTObjectClassStruct::ParseData();
    TUTPackage& p = package();
    try {
        RewindScript();
        SkipBytecode(*this);
        if (p.Version < 64) p.ReadWord(&Data());
        iNative_ = p.ReadWord(&Data());
        if (p.Version < 64) p.ReadByte(&Data());
        operatorPrecedence_ = p.ReadByte(&Data());
        if (p.Version < 64) p.ReadWord(&Data());
        functionFlags_ = p.ReadDWord(&Data());
        repOffset_ = (functionFlags_ & 0x40) ? p.ReadWord(&Data()) : 0xFFFF;
    } catch (const std::exception&) {
        // A function keeps the fields read before the failure.
    }
}

void TUTObjectClassState::InitData() {
    TUTObjectClassStruct::InitData();
    probeMask_ = 0;
    ignoreMask_ = 0;
    labelTableOffset_ = 0;
    stateFlags_ = 0;
}

void TUTObjectClassState::ParseData() {
    TUTObjectClassStruct::ParseData();
    TUTPackage& p = package();
    RewindScript();
    SkipBytecode(*this);
    probeMask_ = p.ReadQWord(&Data());
    ignoreMask_ = p.ReadQWord(&Data());
    labelTableOffset_ = p.ReadWord(&Data());
    stateFlags_ = p.ReadDWord(&Data());
}

void TUTObjectClassClass::InitData() {
    TUTObjectClassState::InitData();
    classFlags_ = 0;
    classGuid_ = {};
    dependencies_.clear();
    packageImports_.clear();
    classWithin_ = 0;
    classConfigName_.clear();
}

void TUTObjectClassClass::ParseData() {
    TUTObjectClassState::ParseData();
    TUTPackage& p = package();
    TUTMemoryStream& s = Data();
    if (p.Version <= 61) p.ReadDWord(&s);
    classFlags_ = p.ReadDWord(&s);
    classGuid_ = p.ReadGuid(&s);
    const std::int32_t dependencyCount = p.ReadCompactIndex(&s);
    CheckCount(dependencyCount, 9, s);
    for (std::int32_t i = 0; i < dependencyCount; ++i) {
        TUTClassDependency dependency;
        dependency.Class = p.ReadCompactIndex(&s);
        dependency.Deep = p.ReadDWord(&s);
        dependency.ScriptTextCRC = p.ReadDWord(&s);
        dependencies_.push_back(dependency);
    }
    const std::int32_t importCount = p.ReadCompactIndex(&s);
    CheckCount(importCount, 1, s);
    for (std::int32_t i = 0; i < importCount; ++i) packageImports_.push_back(p.ReadCompactIndex(&s));
    if (p.Version > 61) {
        classWithin_ = p.ReadCompactIndex(&s);
        classConfigName_ = p.GetName(p.ReadCompactIndex(&s));
    }
    ReadProperties();
}

}  // namespace torvane::unrealpkg
