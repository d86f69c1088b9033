// A test fixture holding the whole application window, built the way the program starts:
// document manager, template, CMainFrame, a new document and its view. Each test runs in its
// own temporary working directory (the settings file lands there) with its own profile file.
#pragma once

#include "tests/gui/GuiTest.h"
#include "tests/support/TempDir.h"

#include <memory>
#include <string>

class CMainFrame;
class wxConfigBase;
class wxRibbonBar;

namespace tesslin::test {

class AppWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs before the window is built; write profile values or files here.
    virtual void BeforeWindow() {}

    // Closes the window (the document saves its settings) and builds it again, keeping the
    // working directory and the profile.
    void ReopenWindow();
    // Closes the window as the user would; the window is gone afterwards.
    void CloseWindow();

    CMainFrame& Frame() const;
    wxRibbonBar& Ribbon() const;
    // The profile the program reads and writes: a file of its own per test.
    wxConfigBase& Profile() const;
    // The profile file as it is on disk (after the program flushed it).
    std::string ProfileFileText() const;
    const TempDir& WorkDir() const { return m_cwd->dir(); }

private:
    void OpenWindow();

    std::unique_ptr<ScopedWorkingDirectory> m_cwd;
    std::unique_ptr<TempDir> m_profileDir;
    std::string m_profilePath;
    CMainFrame* m_frame = nullptr;
};

} // namespace tesslin::test
