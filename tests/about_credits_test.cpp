// The About box's credits: the shape of the text, and the bytes the box
// shows once its WM_INITDIALOG has run on the program's own template. The
// latter needs an X display.
#include <gtest/gtest.h>
#include <win32_module.h>
#include <windows.h>

#include <string>
#include <vector>

#include "about_box.h"
#include "backend.h"
#include "resource.h"

// The program's resources, compiled from ui/zorkel.rc for this test.
extern const Win32Module kAboutTestProgram;

// Set by WinMain in the program; here by the test.
HINSTANCE g_instance;

namespace {

// The lines of a text, each with its CR LF; what follows the last CR LF is
// a line of its own.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t crlf = text.find("\r\n", start);
    const std::size_t end = crlf == std::string::npos ? text.size() : crlf + 2;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(AboutCredits, SixLinesOf247BytesEachEndingWithABlankAndCrLf) {
  const std::string credits = kCredits;
  EXPECT_EQ(credits.size(), 247u);
  const std::vector<std::string> lines = Lines(credits);
  ASSERT_EQ(lines.size(), 6u);
  for (const std::string& line : lines) {
    ASSERT_GE(line.size(), 3u);
    EXPECT_EQ(line.substr(line.size() - 3), " \r\n") << line;
    EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 2)
        << "a CR or LF inside: " << line;
  }
}

TEST(AboutCredits, EachLineCarriesItsPart) {
  const std::vector<std::string> lines = Lines(kCredits);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_TRUE(Contains(lines[0], "1998")) << lines[0];
  EXPECT_TRUE(Contains(lines[0], "Murkwin / Tolvag")) << lines[0];
  EXPECT_TRUE(StartsWith(lines[1], "-> ")) << lines[1];
  EXPECT_TRUE(StartsWith(lines[2], "-> ")) << lines[2];
  EXPECT_EQ(lines[3], " \r\n");
  EXPECT_EQ(lines[4], "For any other information, you can contact me : \r\n");
  EXPECT_TRUE(StartsWith(lines[5], " ")) << lines[5];
  EXPECT_TRUE(Contains(lines[5], " - ")) << lines[5];
}

class AboutBoxTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(BackendOpen("about_credits_test")) << "needs an X display";
    g_instance = Win32InstanceOf(kAboutTestProgram);
  }
};

TEST_F(AboutBoxTest, InitDialogPutsTheCreditsInTheBoxAndTheFocusOnOk) {
  HWND box = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT),
                                nullptr, AboutDialogProc, 0);
  ASSERT_NE(box, nullptr);
  char text[600];
  const int length =
      GetWindowTextA(GetDlgItem(box, IDC_CREDITS), text, sizeof text);
  EXPECT_EQ(std::string(text, static_cast<std::size_t>(length)),
            std::string(kCredits));
  EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
  DestroyWindow(box);
}

}  // namespace
