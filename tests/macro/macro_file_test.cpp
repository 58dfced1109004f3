#include "macro/macro_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "lang/text_codec.h"
#include "macro/archive_string.h"

namespace zentrik::macro {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> as_bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

std::string le32(std::uint32_t n) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out;
}

const std::string kUtf16Tag = lang::utf8_to_utf16le("_@_MF5_");

class MacroFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("zentrik-mf-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    fs::path dir_;
};

TEST(ArchiveString, ReadsEveryLengthForm) {
    const std::string tag = "_@_MF5_";
    const std::string forms[] = {
        "\x07" + tag,                                            // single-byte, 1-byte length
        std::string("\xFF\x07\x00", 3) + tag,                    // single-byte, 16-bit length
        std::string("\xFF\xFF\xFF\x07\x00\x00\x00", 7) + tag,    // single-byte, 32-bit length
        std::string("\xFF\xFE\xFF\x07", 4) + kUtf16Tag,          // UTF-16, 1-byte length
        std::string("\xFF\xFE\xFF\xFF\x07\x00", 6) + kUtf16Tag,  // UTF-16, 16-bit length
        std::string("\xFF\xFE\xFF\xFF\xFF\xFF\x07\x00\x00\x00", 10) + kUtf16Tag,
        std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x07\0\0\0\0\0\0\0", 18) + kUtf16Tag,
    };
    for (const auto& form : forms) {
        const auto bytes = as_bytes(form + "rest");
        ByteReader reader(bytes);
        EXPECT_EQ(read_archive_string(reader).value_or("?"), tag);
        EXPECT_EQ(reader.remaining(), 4u);
    }
}

TEST(ArchiveString, LengthsBeyondTheBytesFailWithoutMoving) {
    const std::string bad[] = {
        "", "\x08_@_MF5_", std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 10),
        std::string("\xFF\xFE", 2), std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7)};
    for (const auto& form : bad) {
        const auto bytes = as_bytes(form);
        ByteReader reader(bytes);
        EXPECT_FALSE(read_archive_string(reader).has_value());
        EXPECT_EQ(reader.position(), 0u);
    }
    EXPECT_EQ(archive_string_bytes(std::string(300, 'x')).substr(0, 6),
              std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6));
}

TEST(MacroFile, WritesTheTagLengthAndCode) {
    const std::uint8_t mode[] = {0x04};
    EXPECT_EQ(macro_file_bytes(mode), std::string("\xFF\xFE\xFF\x07", 4) + kUtf16Tag +
                                          std::string("\x01\x00\x00\x00\x04", 5));
    EXPECT_EQ(macro_file_bytes(mode).size(), 23u);
}

TEST(MacroFile, AcceptsOnlyTheExactTag) {
    const auto good = parse_macro_file(as_bytes("\x07_@_MF5_" + le32(2) + "\x04\x20"));
    EXPECT_EQ(good.status, MacroFileStatus::kOk);
    EXPECT_EQ(good.code, (MacroCode{0x04, 0x20}));
    for (const std::string tag : {"_@_MF4_", "_@_mf5_", "_@_MF5", "_@_MF5__", ""}) {
        const auto bytes =
            as_bytes(std::string(1, static_cast<char>(tag.size())) + tag + le32(1) + "\x04");
        EXPECT_EQ(parse_macro_file(bytes).status, MacroFileStatus::kInvalid) << tag;
    }
    // Ending inside the length field.
    EXPECT_EQ(parse_macro_file(as_bytes("\x07_@_MF5_\x01\x00")).status, MacroFileStatus::kInvalid);
}

TEST_F(MacroFileOnDisk, RoundTripsAndReportsTheSpaceNeeded) {
    const MacroCode code = {0x05, 0x83, 0x04, 0x84, 0x04, 0x88, 0x32, 0x89, 0xE8, 0x03};
    ASSERT_TRUE(write_macro_file(dir_ / "m.mf", code));
    const auto back = read_macro_file(dir_ / "m.mf");
    EXPECT_EQ(back.status, MacroFileStatus::kOk);
    EXPECT_EQ(back.code, code);
    EXPECT_FALSE(back.truncated);
    EXPECT_EQ(macro_file_size(dir_ / "m.mf"), 11u);
    const auto list = decode_macro(back.code);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[2].offset, 3u);
    // Without a run-mode byte the slot gets the one the editor shows, and its size counts it.
    ASSERT_TRUE(write_macro_file(dir_ / "bare.mf", MacroCode{0x83, 0x04, 0x84, 0x04}));
    EXPECT_EQ(macro_code_for_slot(dir_ / "bare.mf"),
              (MacroCode{MI_MODE_ONCE, 0x83, 0x04, 0x84, 0x04}));
    EXPECT_EQ(macro_file_size(dir_ / "bare.mf"), 6u);
}

TEST_F(MacroFileOnDisk, ShortOversizedAndBrokenFilesAreSafe) {
    // Shorter than its N: the whole instructions present count; the cut one never does.
    const auto short_file = put("short.mf", "\x07_@_MF5_" + le32(100) + "\x05\x83\x04\x89\xE8");
    const auto contents = read_macro_file(short_file);
    EXPECT_TRUE(contents.truncated);
    EXPECT_EQ(contents.declared_length, 100u);
    EXPECT_EQ(contents.present_length, 5u);
    EXPECT_EQ(contents.code, (MacroCode{0x05, 0x83, 0x04}));
    EXPECT_EQ(macro_file_size(short_file), 4u);
    EXPECT_EQ(macro_code_for_slot(short_file), (MacroCode{0x05, 0x83, 0x04}));

    // N of 4 GiB: nothing huge is allocated.
    const auto huge = put("huge.mf", "\x07_@_MF5_" + le32(0xFFFFFFFF) + "\x04");
    EXPECT_EQ(read_macro_file(huge).code.size(), 1u);
    EXPECT_EQ(macro_file_size(huge), 2u);

    // Code longer than any mouse can hold is cut at the cap.
    const auto big = put("big.mf", "\x07_@_MF5_" + le32(0x20000) + std::string(0x20000, '\x20'));
    EXPECT_EQ(read_macro_file(big).code.size(), kMaxMacroCodeBytes);

    // Files that must never become a macro in the mouse.
    EXPECT_FALSE(macro_code_for_slot(put("none.mf", "\x07_@_MF5_" + le32(0))).has_value());
    EXPECT_FALSE(macro_code_for_slot(put("cut.mf", "\x07_@_MF5_" + le32(2) + "\x89")).has_value());
    EXPECT_FALSE(macro_code_for_slot(dir_ / "missing.mf").has_value());

    // Code that would not end on a whole, known instruction never reaches a slot.
    EXPECT_FALSE(macro_code_for_slot(put("half.mf", "\x07_@_MF5_" + le32(2) + "\x04\x83")));
    EXPECT_EQ(macro_file_size(put("bad.mf", "\x07_@_MF5_" + le32(2) + "\x04\x90")), 0u);
    EXPECT_EQ(macro_file_size(put("mode7.mf", "\x07_@_MF5_" + le32(1) + "\x07")), 0u);
    EXPECT_EQ(
        macro_file_size(put("end.mf", "\x07_@_MF5_" + le32(3) + std::string("\x04\x00\x04", 3))),
        0u);
    EXPECT_EQ(macro_file_size(put("tag.mf", "\x07_@_MF6_" + le32(1) + "\x04")), 0u);
    EXPECT_EQ(macro_file_size(put("empty.mf", "")), 0u);
    EXPECT_EQ(macro_file_size(dir_ / "missing.mf"), 0u);
    EXPECT_EQ(macro_file_size(dir_), 0u);  // a directory
    EXPECT_EQ(read_macro_file(dir_ / "missing.mf").status, MacroFileStatus::kUnreadable);
    EXPECT_FALSE(write_macro_file(dir_ / "no" / "such" / "dir.mf", MacroCode{0x04}));
}

// A link planted at the name a writer once used for its temporary file ("X.mf.tmp") is never
// written through: its target keeps its bytes.
TEST_F(MacroFileOnDisk, ALinkAtTheOldTemporaryNameIsNotFollowed) {
    const auto victim = put("victim", "victim");
    fs::create_symlink(victim, dir_ / "m.mf.tmp");
    ASSERT_TRUE(write_macro_file(dir_ / "m.mf", MacroCode{0x04}));
    EXPECT_EQ(read_macro_file(dir_ / "m.mf").code, MacroCode{0x04});
    EXPECT_EQ(macro_file_size(victim), 0u);
    EXPECT_EQ(fs::file_size(victim), 6u);
}

TEST_F(MacroFileOnDisk, ExportAndImportOfEditorRows) {
    // Rows fresh from decoding still carry the offsets of the file they came from; the export
    // must count the bytes it writes.
    auto rows = decode_macro(MacroCode{0x83, 0x04, 0x84, 0x04});
    ASSERT_TRUE(export_macro_file(dir_ / "rows.mf", rows));
    const auto back = read_macro_file(dir_ / "rows.mf");
    EXPECT_EQ(back.declared_length, 5u);
    EXPECT_EQ(back.code, (MacroCode{0x04, 0x83, 0x04, 0x84, 0x04}));
    EXPECT_FALSE(back.truncated);

    ASSERT_TRUE(write_macro_file(dir_ / "in.mf", MacroCode{0x05, 0x83, 0x04, 0x84, 0x04}));
    const auto imported = import_macro_file(dir_ / "in.mf");
    EXPECT_EQ(imported.status, MacroFileStatus::kOk);
    ASSERT_EQ(imported.rows.size(), 3u);
    EXPECT_EQ(imported.rows[2].offset, 3u);
    EXPECT_EQ(import_macro_file(put("bad.mf", "\x07_@_MF4_" + le32(0))).status,
              MacroFileStatus::kInvalid);
    EXPECT_TRUE(import_macro_file(put("bad2.mf", "x")).rows.empty());
}

}  // namespace
}  // namespace zentrik::macro
