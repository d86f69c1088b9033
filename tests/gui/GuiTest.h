// What every GUI test needs: the modal-dialog hooks (wxTEST_DIALOG reports through
// GoogleTest and never leaves a dialog hanging), event pumping, and the permission to run
// one real modal loop.
//
// Use wxTEST_DIALOG(code, wxExpectModal<wxMessageDialog>(wxOK), ...) for every box a test
// expects; a dialog that nothing expects fails the test and is answered with wxID_CANCEL.
#pragma once

#include <gtest/gtest.h>

#include <wx/testing.h>

#include <string>

namespace tesslin::test {

// The hook behind wxTEST_DIALOG: failures become GoogleTest failures at the macro's line, and
// a dialog that no expectation covers is cancelled instead of shown.
class GTestModalHook : public wxTestingModalHook {
public:
    GTestModalHook(const char* file, int line, const char* func)
        : wxTestingModalHook(file, line, func), m_file(file), m_line(line) {}

protected:
    int Enter(wxDialog* dialog) override;
    void ReportFailure(const wxString& message) override;

private:
    const char* m_file;
    int m_line;
};

// Lets dialogs run their real modal loop while it lives (the catch-all hook otherwise
// cancels them). The test must end the loop itself, e.g. from a CallAfter or a timer.
class AllowRealModal {
public:
    AllowRealModal();
    ~AllowRealModal();
    AllowRealModal(const AllowRealModal&) = delete;
    AllowRealModal& operator=(const AllowRealModal&) = delete;
};

// Runs pending events, idle handlers (update-UI events) and deferred deletions a few times.
void Pump();

// Runs the event loop until `done` returns true or `seconds` pass; returns `done()`.
template <typename Done> bool PumpUntil(Done done, double seconds = 5.0);

// UTF-8 of a wxString, for readable failure messages.
std::string Utf8(const wxString& text);

} // namespace tesslin::test

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS tesslin::test::GTestModalHook

#include <wx/stopwatch.h>

template <typename Done> bool tesslin::test::PumpUntil(Done done, double seconds) {
    wxStopWatch watch;
    while (!done() && watch.Time() < static_cast<long>(seconds * 1000)) {
        Pump();
        wxMilliSleep(10);
    }
    return done();
}
