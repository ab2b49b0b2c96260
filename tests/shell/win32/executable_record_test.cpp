#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/app.h"
#include "runtime/path_text.h"
#include "runtime/wide_text.h"
#include "shell/win32/resource_ids.h"
#include "support/temp_files.h"

// Reads back what the build wrote into Vantrel.exe and vantrel-cli.exe.
namespace vantrel::win32 {
namespace {

const std::wstring kProgram = WideFromUtf8(VANTREL_EXE_PATH);

class VersionRecord {
 public:
  explicit VersionRecord(const std::wstring& file) {
    DWORD ignored = 0;
    data_.resize(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    if (!data_.empty()) GetFileVersionInfoW(file.c_str(), 0, data_.size(), data_.data());
  }
  bool Found() const { return !data_.empty(); }

  template <typename T>
  const T* Value(const wchar_t* key) const {
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data_.data(), key, &value, &size) || size < sizeof(T)) return nullptr;
    return static_cast<const T*>(value);
  }
  std::string Text(std::wstring_view name) const {
    const std::wstring key = L"\\StringFileInfo\\040904B0\\" + std::wstring(name);
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data_.data(), key.c_str(), &value, &size)) return "(missing)";
    return Utf8FromWide(static_cast<const wchar_t*>(value));
  }

 private:
  std::vector<BYTE> data_;
};

TEST(ExecutableRecord, VersionIsOnePointZeroInUsEnglishUnicode) {
  const VersionRecord record(kProgram);
  ASSERT_TRUE(record.Found());
  const auto* fixed = record.Value<VS_FIXEDFILEINFO>(L"\\");
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  const auto* translation = record.Value<WORD[2]>(L"\\VarFileInfo\\Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ((*translation)[0], 0x0409);
  EXPECT_EQ((*translation)[1], 0x04B0);

  EXPECT_EQ(record.Text(L"ProductName"), "Vantrel");
  EXPECT_EQ(record.Text(L"InternalName"), "Vantrel");
  EXPECT_EQ(record.Text(L"OriginalFilename"), "Vantrel.exe");
  EXPECT_EQ(record.Text(L"FileVersion"), AppVersion());
  EXPECT_EQ(record.Text(L"ProductVersion"), "1.00");
}

// The resources of a program, loaded as data.
class Resources {
 public:
  explicit Resources(const std::wstring& program)
      : module(LoadLibraryExW(program.c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~Resources() { FreeLibrary(module); }
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;

  std::string_view Resource(LPCWSTR name, LPCWSTR type) const {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    return {static_cast<const char*>(LockResource(LoadResource(module, found))),
            SizeofResource(module, found)};
  }

  const HMODULE module;
};

class ProgramResources : public ::testing::Test, public Resources {
 protected:
  ProgramResources() : Resources(kProgram) {}
};

TEST_F(ProgramResources, IconIsOne32By32ImageIn16Colours) {
  ASSERT_NE(module, nullptr);
  // GRPICONDIR: reserved, type 1, count; then one entry: width, height,
  // colours, ...
  const std::string_view group = Resource(MAKEINTRESOURCEW(IDI_VANTREL), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u + 14u);
  EXPECT_EQ(group[2], 1);
  EXPECT_EQ(group[4], 1) << "one image";
  EXPECT_EQ(static_cast<unsigned char>(group[6]), 32);
  EXPECT_EQ(static_cast<unsigned char>(group[7]), 32);
  EXPECT_EQ(static_cast<unsigned char>(group[8]), 16);
}

TEST_F(ProgramResources, PictureIsTheTitleGif) {
  ASSERT_NE(module, nullptr);
  const std::vector<std::uint8_t> gif = test::ReadBytes(PathFromUtf8(VANTREL_TITLE_GIF_PATH));
  const std::string_view built = Resource(MAKEINTRESOURCEW(IDR_TITLE_PICTURE), RT_RCDATA);
  ASSERT_EQ(built.size(), gif.size());
  EXPECT_EQ(std::memcmp(built.data(), gif.data(), gif.size()), 0);
}

TEST_F(ProgramResources, ManifestAsksForDpiCommonControlsUtf8AndLongPaths) {
  ASSERT_NE(module, nullptr);
  const std::string manifest(Resource(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST));
  for (std::string_view wanted :
       {">PerMonitorV2</dpiAwareness>", "name=\"Microsoft.Windows.Common-Controls\"",
        "version=\"6.0.0.0\"", ">UTF-8</activeCodePage>", ">true</longPathAware>"}) {
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
  }
}

// The command-line tool takes and prints UTF-8 and reaches long paths too.
TEST(ToolResources, ManifestAsksForUtf8AndLongPaths) {
  const Resources tool(WideFromUtf8(VANTREL_CLI_EXE_PATH));
  ASSERT_NE(tool.module, nullptr);
  const std::string manifest(tool.Resource(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST));
  for (std::string_view wanted :
       {"name=\"vantrel-cli\"", ">UTF-8</activeCodePage>", ">true</longPathAware>"}) {
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
  }
}

// The subsystem field of a PE file's optional header.
WORD SubsystemOf(const char* path) {
  const std::vector<std::uint8_t> file = test::ReadBytes(PathFromUtf8(path));
  IMAGE_DOS_HEADER dos{};
  std::memcpy(&dos, file.data(), sizeof(dos));
  IMAGE_NT_HEADERS64 nt{};
  std::memcpy(&nt, file.data() + dos.e_lfanew, sizeof(nt));
  return nt.Signature == IMAGE_NT_SIGNATURE ? nt.OptionalHeader.Subsystem : 0;
}

TEST(ExecutableKind, WindowProgramIsGuiAndToolIsConsole) {
  EXPECT_EQ(SubsystemOf(VANTREL_EXE_PATH), IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_EQ(SubsystemOf(VANTREL_CLI_EXE_PATH), IMAGE_SUBSYSTEM_WINDOWS_CUI);
}

}  // namespace
}  // namespace vantrel::win32
