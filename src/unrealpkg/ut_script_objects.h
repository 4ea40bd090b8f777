#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"

// Reader classes of the script objects: fields, enums, constants, properties, structs,
// functions, states and classes. Every accessor requires the data to be read (EnsureRead).
namespace torvane::unrealpkg {

class TUTObjectClassField : public TUTObject {
public:
    using TUTObject::TUTObject;
    std::int32_t SuperField() const { EnsureRead(); return superField_; }
    std::int32_t Next() const { EnsureRead(); return next_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::int32_t superField_ = 0;
    std::int32_t next_ = 0;
};

class TUTObjectClassEnum final : public TUTObjectClassField {
public:
    using TUTObjectClassField::TUTObjectClassField;
    // Value names by index.
    const std::vector<std::string>& Values() const { EnsureRead(); return values_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::vector<std::string> values_;
};

class TUTObjectClassConst final : public TUTObjectClassField {
public:
    using TUTObjectClassField::TUTObjectClassField;
    const std::string& Value() const { EnsureRead(); return value_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::string value_;
};

class TUTObjectClassProperty : public TUTObjectClassField {
public:
    using TUTObjectClassField::TUTObjectClassField;
    std::uint16_t ArrayDim() const { EnsureRead(); return arrayDim_; }
    std::uint16_t ElementSize() const { EnsureRead(); return elementSize_; }
    std::uint32_t PropertyFlags() const { EnsureRead(); return propertyFlags_; }
    const std::string& Category() const { EnsureRead(); return category_; }
    std::int32_t RepOffset() const { EnsureRead(); return repOffset_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::uint16_t arrayDim_ = 0;
    std::uint16_t elementSize_ = 0;
    std::uint32_t propertyFlags_ = 0;
    std::string category_;
    std::int32_t repOffset_ = -1;
};

// A property kind with one object reference after the base fields.
template <int Tag>
class TUTObjectClassRefProperty : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;

protected:
    void InitData() override {
        TUTObjectClassProperty::InitData();
        reference_ = 0;
    }
    void ParseData() override {
        TUTObjectClassProperty::ParseData();
        reference_ = package().ReadCompactIndex(&Data());
    }
    std::int32_t reference() const { EnsureRead(); return reference_; }

private:
    std::int32_t reference_ = 0;
};

class TUTObjectClassByteProperty final : public TUTObjectClassRefProperty<1> {
public:
    using TUTObjectClassRefProperty::TUTObjectClassRefProperty;
    std::int32_t Enum() const { return reference(); }  // 0: a plain byte
};

class TUTObjectClassIntProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
class TUTObjectClassBoolProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
class TUTObjectClassFloatProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
class TUTObjectClassNameProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
class TUTObjectClassStrProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
class TUTObjectClassStringProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};
// A native pointer (packages of the current patch); nothing after the base fields.
class TUTObjectClassPointerProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
};

class TUTObjectClassObjectProperty : public TUTObjectClassRefProperty<5> {
public:
    using TUTObjectClassRefProperty::TUTObjectClassRefProperty;
    std::int32_t PropertyClass() const { return reference(); }
};

class TUTObjectClassClassProperty final : public TUTObjectClassObjectProperty {
public:
    using TUTObjectClassObjectProperty::TUTObjectClassObjectProperty;
    std::int32_t MetaClass() const { EnsureRead(); return metaClass_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::int32_t metaClass_ = 0;
};

class TUTObjectClassFixedArrayProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
    std::int32_t Inner() const { EnsureRead(); return inner_; }
    std::int32_t Count() const { EnsureRead(); return count_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::int32_t inner_ = 0;
    std::int32_t count_ = 0;
};

class TUTObjectClassArrayProperty final : public TUTObjectClassRefProperty<9> {
public:
    using TUTObjectClassRefProperty::TUTObjectClassRefProperty;
    std::int32_t Inner() const { return reference(); }
};

class TUTObjectClassMapProperty final : public TUTObjectClassProperty {
public:
    using TUTObjectClassProperty::TUTObjectClassProperty;
    std::int32_t Key() const { EnsureRead(); return key_; }
    std::int32_t Value() const { EnsureRead(); return value_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::int32_t key_ = 0;
    std::int32_t value_ = 0;
};

class TUTObjectClassStructProperty final : public TUTObjectClassRefProperty<10> {
public:
    using TUTObjectClassRefProperty::TUTObjectClassRefProperty;
    std::int32_t Struct() const { return reference(); }
};

struct TUTDecompileSession;

// Decompiler state of a struct, function, state or class (see ut_decompiler.h).
struct TUTDecompilerState {
    std::int32_t Position = 0;  // bytecode units consumed since the script start
    std::int32_t StatementStart = 0;
    std::int32_t Depth = 0;
    bool StatementEnded = false;
    std::vector<std::uint16_t> JumpTargets;
    std::vector<std::pair<std::int32_t, std::int32_t>> LabelTable;  // (name index, position)
    std::vector<int> BlockStack;  // 1 foreach, 2 switch, 3 if, 4 else (structured mode)
    std::vector<std::pair<std::string, std::uint32_t>> Markers;  // (text, start << 16 | end)
    std::string Indent;
    bool structured = true;
    TUTDecompileSession* session = nullptr;  // types, natives and loop data while a body prints
};

class TUTObjectClassStruct : public TUTObjectClassField {
public:
    using TUTObjectClassField::TUTObjectClassField;
    std::int32_t ScriptText() const { EnsureRead(); return scriptText_; }
    std::int32_t Children() const { EnsureRead(); return children_; }
    const std::string& FriendlyName() const { EnsureRead(); return friendlyName_; }
    std::uint32_t Line() const { EnsureRead(); return line_; }
    std::uint32_t TextPos() const { EnsureRead(); return textPos_; }
    std::int32_t ScriptSize() const { EnsureRead(); return scriptSize_; }
    // Positions the data stream at the script start and resets Position.
    void RewindScript();

    TUTDecompilerState state;

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::int32_t scriptText_ = 0;
    std::int32_t children_ = 0;
    std::string friendlyName_;
    std::uint32_t line_ = 0;
    std::uint32_t textPos_ = 0;
    std::int32_t scriptSize_ = 0;
    std::int64_t scriptStart_ = 0;
};

class TUTObjectClassFunction final : public TUTObjectClassStruct {
public:
    using TUTObjectClassStruct::TUTObjectClassStruct;
    std::uint16_t iNative() const { EnsureRead(); return iNative_; }
    std::uint8_t OperatorPrecedence() const { EnsureRead(); return operatorPrecedence_; }
    std::uint32_t FunctionFlags() const { EnsureRead(); return functionFlags_; }
    std::uint16_t RepOffset() const { EnsureRead(); return repOffset_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::uint16_t iNative_ = 0;
    std::uint8_t operatorPrecedence_ = 0;
    std::uint32_t functionFlags_ = 0;
    std::uint16_t repOffset_ = 0xFFFF;
};

class TUTObjectClassState : public TUTObjectClassStruct {
public:
    using TUTObjectClassStruct::TUTObjectClassStruct;
    std::uint64_t ProbeMask() const { EnsureRead(); return probeMask_; }
    std::uint64_t IgnoreMask() const { EnsureRead(); return ignoreMask_; }
    std::uint16_t LabelTableOffset() const { EnsureRead(); return labelTableOffset_; }
    std::uint32_t StateFlags() const { EnsureRead(); return stateFlags_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::uint64_t probeMask_ = 0;
    std::uint64_t ignoreMask_ = 0;
    std::uint16_t labelTableOffset_ = 0;
    std::uint32_t stateFlags_ = 0;
};

struct TUTClassDependency {
    std::int32_t Class = 0;
    std::uint32_t Deep = 0;
    std::uint32_t ScriptTextCRC = 0;
};

class TUTObjectClassClass final : public TUTObjectClassState {
public:
    using TUTObjectClassState::TUTObjectClassState;
    std::uint32_t ClassFlags() const { EnsureRead(); return classFlags_; }
    const Guid& ClassGuid() const { EnsureRead(); return classGuid_; }
    const std::vector<TUTClassDependency>& Dependencies() const { EnsureRead(); return dependencies_; }
    const std::vector<std::int32_t>& PackageImports() const { EnsureRead(); return packageImports_; }
    std::int32_t ClassWithin() const { EnsureRead(); return classWithin_; }
    const std::string& ClassConfigName() const { EnsureRead(); return classConfigName_; }

protected:
    void InitData() override;
    void ParseData() override;

private:
    std::uint32_t classFlags_ = 0;
    Guid classGuid_{};
    std::vector<TUTClassDependency> dependencies_;
    std::vector<std::int32_t> packageImports_;
    std::int32_t classWithin_ = 0;
    std::string classConfigName_;
};

}  // namespace torvane::unrealpkg
