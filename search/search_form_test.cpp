// The search window's field rules, driven as a person types, without any widget.
#include "search/search_form.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

// Fields with nothing but the typed vendor ID or class code.
SearchFields WithVendorId(const std::string& text) {
  SearchFields fields;
  fields.vendor_id = text;
  return fields;
}

SearchFields WithClassCode(const std::string& text) {
  SearchFields fields;
  fields.class_code = text;
  return fields;
}

// Types `text` into the vendor field one character at a time, running the handler after each.
void TypeVendor(SearchForm& form, const std::string& text) {
  for (const char c : text) {
    form.fields.vendor_id += c;
    form.OnVendorIdChanged();
  }
}

void SetVendor(SearchForm& form, const std::string& text) {
  form.fields.vendor_id = text;
  form.OnVendorIdChanged();
}

void SetDevice(SearchForm& form, const std::string& text) {
  form.fields.device_id = text;
  form.OnDeviceIdChanged();
}

void SetClass(SearchForm& form, const std::string& text) {
  form.fields.class_code = text;
  form.OnClassCodeChanged();
}

TEST(SearchFormText, CountsCharactersNotBytes) {
  EXPECT_EQ(CountCharacters(""), 0u);
  EXPECT_EQ(CountCharacters("10de"), 4u);
  EXPECT_EQ(CountCharacters("１０ｄｅ"), 4u);
  EXPECT_EQ(CountCharacters("ｱ1€"), 3u);
}

TEST(SearchFormText, ParsesTypedHexFromItsCp932Bytes) {
  EXPECT_EQ(ParseTypedHex("00a0", 4), 0xA0);
  EXPECT_EQ(ParseTypedHex("10DE", 4), 0x10DE);
  EXPECT_EQ(ParseTypedHex("010601", 6), 0x10601);
  EXPECT_EQ(ParseTypedHex("12G4", 4), -1);
  EXPECT_EQ(ParseTypedHex("１０ｄｅ", 4), -1);  // full-width digits are two bytes of 0x80 and up
  EXPECT_EQ(ParseTypedHex("😀abc", 4), -1);      // no CP932 form at all
}

TEST(SearchFormVendor, NamesNothingUntilTheFourthCharacter) {
  SearchForm form;
  for (const std::string typed : {"1", "10", "10D"}) {
    SetVendor(form, typed);
    EXPECT_EQ(form.fields, WithVendorId(typed)) << typed;
    EXPECT_FALSE(form.device_id_editable()) << typed;
  }
  SetVendor(form, "10DE");
  EXPECT_EQ(form.vendor_id(), 0x10DE);
  EXPECT_EQ(form.fields.vendor_short_name, "NVIDIA David");
  EXPECT_EQ(form.fields.vendor_full_name, "NVIDIA Corporation");
  EXPECT_TRUE(form.device_id_editable());
}

TEST(SearchFormVendor, UpperLowerAndPastedTextFindTheSameVendor) {
  for (const std::string text : {"10de", "10DE", "10De"}) {
    SearchForm typed;
    TypeVendor(typed, text);
    SearchForm pasted;  // four characters arriving in one change
    SetVendor(pasted, text);
    EXPECT_EQ(typed.fields, pasted.fields) << text;
    EXPECT_EQ(pasted.fields.vendor_full_name, "NVIDIA Corporation") << text;
    EXPECT_TRUE(pasted.device_id_editable()) << text;
  }
}

TEST(SearchFormVendor, VendorWithEmptyShortNameIsStillFound) {
  SearchForm form;
  SetVendor(form, "0033");
  EXPECT_EQ(form.fields.vendor_short_name, "");
  EXPECT_EQ(form.fields.vendor_full_name, "Paradyne Corp.");
  EXPECT_TRUE(form.device_id_editable());
}

TEST(SearchFormVendor, UnknownOrMalformedVendorShowsNothingAndLocksTheDevice) {
  for (const std::string text : {"0000", "FFFF", "12G4", "１０ｄｅ", "10de5"}) {
    SearchForm form;
    SetVendor(form, "10de");
    SetDevice(form, "0110");
    SetVendor(form, text);
    EXPECT_EQ(form.fields, WithVendorId(text)) << text;
    EXPECT_FALSE(form.device_id_editable()) << text;
  }
  SearchForm full_width;
  SetVendor(full_width, "１０ｄｅ");
  EXPECT_EQ(full_width.vendor_id(), -1);
}

TEST(SearchFormVendor, DeletingACharacterClearsVendorDeviceAndLocks) {
  SearchForm form;
  TypeVendor(form, "10de");
  SetDevice(form, "0110");
  ASSERT_EQ(form.fields.chip_name, "NV11");
  SetVendor(form, "10d");
  EXPECT_EQ(form.fields, WithVendorId("10d"));
  EXPECT_FALSE(form.device_id_editable());
  // Typing the character again finds the vendor; the device ID has to be typed again.
  TypeVendor(form, "e");
  EXPECT_EQ(form.fields.vendor_full_name, "NVIDIA Corporation");
  EXPECT_EQ(form.fields.device_id, "");
  EXPECT_EQ(form.fields.chip_name, "");
  EXPECT_TRUE(form.device_id_editable());
}

TEST(SearchFormVendor, SwitchingVendorWithADeviceTypedNamesTheNewVendorsDevice) {
  SearchForm form;
  SetVendor(form, "10de");
  SetDevice(form, "1229");
  EXPECT_EQ(form.fields.chip_name, "");  // NVIDIA has no device 1229
  SetVendor(form, "8086");               // pasted over the selected vendor ID
  EXPECT_EQ(form.fields.vendor_full_name, "Intel Corporation");
  EXPECT_EQ(form.fields.device_id, "1229");
  EXPECT_EQ(form.fields.chip_name, "82557/8/9/0/1");
  EXPECT_EQ(form.fields.device_description, "Fast Ethernet LAN Controller");
  SetVendor(form, "10DE");  // and back: Intel's names must not stay under NVIDIA
  EXPECT_EQ(form.fields.vendor_full_name, "NVIDIA Corporation");
  EXPECT_EQ(form.fields.chip_name, "");
  EXPECT_EQ(form.fields.device_description, "");
}

TEST(SearchFormDevice, NamesTheFirstRowOfTheStoredVendorsDevice) {
  SearchForm form;
  SetVendor(form, "10de");
  for (const std::string typed : {"0", "01", "011"}) {
    SetDevice(form, typed);
    EXPECT_EQ(form.fields.chip_name, "") << typed;
  }
  SetDevice(form, "0110");
  EXPECT_EQ(form.device_id(), 0x110);
  EXPECT_EQ(form.fields.chip_name, "NV11");  // not the later duplicate "nv11"
  EXPECT_EQ(form.fields.device_description, "GeForce2 MX / MX 400");
  SetDevice(form, "011");
  EXPECT_EQ(form.fields.chip_name, "");
  EXPECT_EQ(form.fields.device_description, "");
  EXPECT_EQ(form.fields.vendor_full_name, "NVIDIA Corporation");  // the vendor stays
  SetDevice(form, "0010");
  EXPECT_EQ(form.fields.chip_name, "NV2");
  EXPECT_EQ(form.fields.device_description, "Mutara V08");
  SetDevice(form, "zzzz");
  EXPECT_EQ(form.device_id(), -1);
  EXPECT_EQ(form.fields.chip_name, "");
  EXPECT_EQ(form.fields.device_description, "");
}

TEST(SearchFormDevice, TellsWhetherVendorAndDeviceAreFound) {
  SearchForm form;
  EXPECT_FALSE(form.vendor_found());
  EXPECT_FALSE(form.device_found());
  SetVendor(form, "10de");
  EXPECT_TRUE(form.vendor_found());
  EXPECT_FALSE(form.device_found());
  SetDevice(form, "0110");
  EXPECT_TRUE(form.device_found());
  SetDevice(form, "fffe");  // NVIDIA has no device fffe
  EXPECT_FALSE(form.device_found());
  SetDevice(form, "0110");
  SetVendor(form, "10d");  // the vendor goes, and the device with it
  EXPECT_FALSE(form.vendor_found());
  EXPECT_FALSE(form.device_found());
}

TEST(SearchFormClass, EachLengthNamesOrClearsItsLevels) {
  SearchForm form;
  SetClass(form, "0");
  EXPECT_EQ(form.fields, WithClassCode("0"));
  SetClass(form, "01");
  EXPECT_EQ(form.fields.base_class_name, "Mass Storage Controller");
  EXPECT_EQ(form.fields.sub_class_name, "");
  EXPECT_EQ(form.fields.prog_if_name, "");
  EXPECT_EQ(form.sub_class(), 0xFF);
  SetClass(form, "010");
  EXPECT_EQ(form.fields.base_class_name, "Mass Storage Controller");
  SetClass(form, "0106");
  EXPECT_EQ(form.fields.sub_class_name, "Serial ATA");
  EXPECT_EQ(form.fields.prog_if_name, "");  // 01/06/FF has no programming-interface name
  SetClass(form, "01060");
  SetClass(form, "010601");
  EXPECT_EQ(form.fields.base_class_name, "Mass Storage Controller");
  EXPECT_EQ(form.fields.sub_class_name, "Serial ATA");
  EXPECT_EQ(form.fields.prog_if_name, "AHCI 1.0");
  EXPECT_EQ(form.class_code(), 0x10601);
  EXPECT_EQ(form.base_class(), 0x01);
  EXPECT_EQ(form.sub_class(), 0x06);
  EXPECT_EQ(form.prog_if(), 0x01);
  SetClass(form, "01060");  // back to five: only the prog-if name goes
  EXPECT_EQ(form.fields.base_class_name, "Mass Storage Controller");
  EXPECT_EQ(form.fields.sub_class_name, "Serial ATA");
  EXPECT_EQ(form.fields.prog_if_name, "");
  SetClass(form, "010");  // three: the sub-class name goes too
  EXPECT_EQ(form.fields.base_class_name, "Mass Storage Controller");
  EXPECT_EQ(form.fields.sub_class_name, "");
  SetClass(form, "0");  // one: everything goes
  EXPECT_EQ(form.fields, WithClassCode("0"));
  EXPECT_EQ(form.base_class(), 0xFF);
  EXPECT_EQ(form.prog_if(), 0xFF);
}

TEST(SearchFormClass, NonHexTakesEveryByteAsFF) {
  SearchForm form;
  SetClass(form, "zz");
  EXPECT_EQ(form.base_class(), 0xFF);
  EXPECT_EQ(form.fields.base_class_name, "Unknown");
  EXPECT_EQ(form.fields.sub_class_name, "");
  EXPECT_EQ(form.fields.prog_if_name, "");
  SetClass(form, "FF00");
  EXPECT_EQ(form.fields.sub_class_name, "Device Does Not Fit In Class Codes");
  SetClass(form, "FF0000");
  EXPECT_EQ(form.fields.prog_if_name, "UDF");
  SetClass(form, "0106zz");  // one bad character spoils all three bytes
  EXPECT_EQ(form.fields.base_class_name, "Unknown");
  EXPECT_EQ(form.fields.sub_class_name, "");
  SetClass(form, "０１");
  EXPECT_EQ(form.fields.base_class_name, "Unknown");
}

TEST(SearchFormClass, LevelsComeFromTheFirstMatchingRow) {
  SearchForm form;
  SetClass(form, "070100");
  EXPECT_EQ(form.fields.prog_if_name, "Standard");
  SetClass(form, "078000");
  EXPECT_EQ(form.fields.sub_class_name, "Other");
  EXPECT_EQ(form.fields.prog_if_name, "");
  SetClass(form, "0c03");
  EXPECT_EQ(form.fields.sub_class_name, "USB (Universal Serial Bus)");
  SetClass(form, "20");
  EXPECT_EQ(form.fields, WithClassCode("20"));
}

TEST(SearchFormClass, ClassAndVendorFieldsDoNotDisturbEachOther) {
  SearchForm form;
  SetVendor(form, "10de");
  SetDevice(form, "0110");
  SetClass(form, "0300");
  SetClass(form, "0");
  EXPECT_EQ(form.fields.chip_name, "NV11");
  SetClass(form, "0300");
  SetVendor(form, "");
  EXPECT_EQ(form.fields.base_class_name, "Display Controller");
  EXPECT_EQ(form.fields.sub_class_name, "PC Compatible");
}

}  // namespace
}  // namespace kelvox
