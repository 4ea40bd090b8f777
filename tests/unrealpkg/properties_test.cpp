#include "unrealpkg/ut_properties.h"

#include <gtest/gtest.h>

#include "support/package_builder.h"
#include "support/temp_dir.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"

namespace torvane::unrealpkg {
namespace {

using testing::Bytes;
using testing::PackageSpec;

enum Name {
    kNone, kCore, kObject, kClassName, kPackageName, kThing, kFlag, kCount, kTags, kDup, kLoc,
    kVector, kRegion, kPointRegion, kEmpty, kWeird, kOwner, kOther, kScale, kScaleStruct,
    kLabel, kTagName, kColor, kColorStruct, kStrange, kMyClass
};

PackageSpec TagPackage(const Bytes& tags) {
    PackageSpec spec;
    spec.names = {"None", "Core", "Object", "Class", "Package", "Thing", "bFlag", "Count", "Tags",
                  "Dup", "Loc", "Vector", "Region", "PointRegion", "Empty", "Weird", "Owner",
                  "Other", "DrawScale3D", "Scale", "Label", "Tag", "Tint", "Color", "Strange",
                  "MyClass"};
    spec.imports = {{kCore, kPackageName, 0, kCore}, {kCore, kClassName, -1, kObject}};
    spec.exports = {{-2, 0, 0, kThing, 0, tags.str() + std::string(1, '\0')},
                    {0, -2, 0, kMyClass, 0, std::string(4, '\0')}};
    return spec;
}

class PropertiesTest : public ::testing::Test {
protected:
    // Reads the tags as the properties of export 0.
    const TUTPropertyList& Read(const Bytes& tags) {
        package_ = std::make_unique<TUTPackage>(
            dir_.Write("Tags.u", testing::BuildPackage(TagPackage(tags))));
        object_ = &package_->GetExport(0)->GetObject();
        object_->ReadObject(true);
        return object_->Properties();
    }
    void TearDown() override {
        if (object_) object_->Release();
    }
    std::string Display(const TUTPropertyList& list, const char* name) {
        const TUTProperty* property = list.FindByName(name);
        return property ? FormatValue(*property).display : "<absent>";
    }

    testing::TempDir dir_;
    std::unique_ptr<TUTPackage> package_;
    TUTObject* object_ = nullptr;
};

TEST_F(PropertiesTest, ReadsEveryTagForm) {
    Bytes tags;
    tags.Compact(kFlag).Byte(0x80 | 3);                                 // bool: the bit is the value
    tags.Compact(kCount).Byte(0x80 | 0x20 | 2).Byte(0x81).Byte(0x05).DWord(42);  // index 261
    tags.Compact(kTags).Byte(0x00 | 1).Byte(7);                         // byte, in the array list
    tags.Compact(kDup).Byte(0x22).DWord(1);
    tags.Compact(kDup).Byte(0x22).DWord(2);
    tags.Compact(kLoc).Byte(0x3A).Compact(kVector).Float(1).Float(2.5f).Float(-3);
    tags.Compact(kEmpty).Byte(0x5A).Compact(kWeird).Byte(0);            // size byte 0
    tags.Compact(kRegion).Byte(0x2A).Compact(kPointRegion).Compact(0).DWord(7).Compact(3);
    tags.Compact(kOwner).Byte(0x05).Compact(0);
    tags.Compact(kOther).Byte(0x05).Compact(1);
    tags.Compact(kClassName).Byte(0x05).Compact(2);
    tags.Compact(kScale).Byte(0x5A).Compact(kScaleStruct).Byte(17)
        .Float(1).Float(1).Float(2).Float(0).Byte(9);
    tags.Compact(kLabel).Byte(0x0D | 0x50).Byte(4).Compact(3).Raw(std::string("Hi\0", 3));
    tags.Compact(kTagName).Byte(0x06).Compact(kThing);
    tags.Compact(kColor).Byte(0x2A).Compact(kColorStruct).Byte(10).Byte(20).Byte(30).Byte(0);
    tags.Compact(kNone);

    const TUTPropertyList& list = Read(tags);
    ASSERT_EQ(list.Count(), 16);
    const TUTProperty& flag = *list.Get(0);
    EXPECT_EQ(flag.Type, kPropBool);
    EXPECT_EQ(flag.ArrayIndex, -1);
    EXPECT_EQ(Display(list, "bFlag"), "True");
    EXPECT_EQ(list.Get(1)->ArrayIndex, 261);
    EXPECT_EQ(Display(list, "Count"), "42");
    EXPECT_EQ(list.Get(2)->ArrayIndex, 0);  // "Tags" is always an array element
    EXPECT_EQ(list.Get(3)->ArrayIndex, 0);  // repeated names
    EXPECT_EQ(list.Get(4)->ArrayIndex, 0);
    EXPECT_EQ(Display(list, "Loc"), "(X=1.00,Y=2.50,Z=-3.00)");
    EXPECT_TRUE(list.FindByName("Empty")->Data.empty());
    EXPECT_EQ(Display(list, "Region"), "(Zone=None, iLeaf=7, ZoneNumber=3)");
    EXPECT_EQ(Display(list, "Owner"), "None");
    EXPECT_EQ(Display(list, "Other"), "Object'Thing'");
    EXPECT_EQ(Display(list, "Class"), "Class'MyClass'");
    EXPECT_EQ(Display(list, "DrawScale3D"),
              "(X=1.00, Y=1.00, Z=2.00, SheerRate=0.00, SheerAxis=)");
    EXPECT_EQ(Display(list, "Label"), "\"Hi\"");
    EXPECT_EQ(Display(list, "Tag"), "Thing");
    EXPECT_EQ(Display(list, "Tint"), "(R=10,G=20,B=30,A=0)");
    EXPECT_EQ(list.Get(15)->Type, kPropNone);

    const TUTFormattedValue y = FormatValue(*list.FindByName("Loc"), 1);
    EXPECT_EQ(y.memberName, "Y");
    EXPECT_EQ(y.type, kPropFloat);
    EXPECT_EQ(std::get<double>(y.value), 2.5);
    EXPECT_EQ(std::get<std::int64_t>(list.GetValue("Count")), 42);
    EXPECT_EQ(std::get<std::int64_t>(list.GetValue("absent")), 0);
    EXPECT_EQ(std::get<std::string>(list.GetValue("absent", std::string("x"))), "x");
}

TEST_F(PropertiesTest, UnknownTypeStopsTheScan) {
    Bytes tags;
    tags.Compact(kCount).Byte(0x22).DWord(5);
    tags.Compact(kStrange).Byte(0x0B).Byte(0xEE);  // type 11, one byte of value
    tags.Compact(kDup).Byte(0x22).DWord(1);          // never read
    const TUTPropertyList& list = Read(tags);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1)->Type, kPropUnknown);
    EXPECT_EQ(list.Get(1)->StructName, "Unknown type 0x0B, scan stopped");
    EXPECT_EQ(FormatValue(*list.Get(1)).display, "");
}

TEST_F(PropertiesTest, TruncatedTagNamesTheProperty) {
    Bytes tags;
    tags.Compact(kCount).Byte(0x72).DWord(1000000);  // size from a dword, far past the end
    tags.Compact(kNone);
    PackageSpec spec = TagPackage(tags);
    spec.exports[0].serial = Bytes().Compact(kLabel).Byte(0x0D).Compact(50).Raw("ab").str();
    TUTPackage package(dir_.Write("Bad.u", testing::BuildPackage(spec)));
    TUTObject& object = package.GetExport(0)->GetObject();
    try {
        object.ReadObject(true);
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Exception reading property Label");
    }
    EXPECT_EQ(object.LoadCount(), 0);
}

TEST(FormatValueTest, UnfilledPropertyAndPlainValues) {
    TUTProperty property;
    EXPECT_EQ(FormatValue(property).display, "0");
    property.Valid = true;
    property.Type = kPropWord;
    property.Data = {0x34, 0x12};
    EXPECT_EQ(FormatValue(property).display, "4660");
    property.Type = kPropFloat;
    property.Data = {0, 0, 0x80, 0x3F};
    EXPECT_EQ(FormatValue(property).display, "1.00");
    property.Type = kPropArray;
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(FormatValue(property).value), property.Data);
}

TEST(ArrayNamesTest, ListIgnoresCase) {
    EXPECT_TRUE(IsArrayName("MultiSkins"));
    EXPECT_TRUE(IsArrayName("internaltime"));
    EXPECT_FALSE(IsArrayName("Skin"));
}

}  // namespace
}  // namespace torvane::unrealpkg
