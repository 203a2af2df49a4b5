// The main dialog's items as the apply run reads them, captured on the
// dialog thread when the run starts.
//
// While the run goes on the main dialog is disabled under the progress
// dialog, so its items cannot change; reading them from a copy gives the
// worker the same values without any call into the live dialog. That keeps
// an abandoned worker safe: it never reaches a dialog that has been
// destroyed, and the dialog thread never waits for the worker.
#pragma once

#include "platform/dialog_view.h"

#include <map>
#include <string>

namespace corvane {

class DialogSnapshot final : public platform::DialogView {
public:
    // Copies the fields, options and the OU list's selection of the main
    // dialog, and its window for owning notices and prompts.
    static DialogSnapshot OfMainDialog(platform::DialogView& dialog);

    std::u16string ItemText(int id) override;
    void SetItemText(int id, std::u16string_view text) override;
    void SetCaption(std::u16string_view) override {}
    bool IsChecked(int id) override;
    void SetChecked(int id, bool checked) override;
    void EnableItem(int id, bool enabled) override;
    bool IsItemEnabled(int id) override;
    void FocusItem(int) override {}
    void SelectAllText(int) override {}
    void LimitText(int, int) override {}
    void ResetList(int id) override;
    int AddListItem(int id, std::u16string_view text) override;
    int ListCount(int id) override;
    int ListSelection(int id) override;
    void SetListSelection(int id, int index) override;
    std::u16string ListItemText(int id, int index) override;
    void SetListItemData(int, int, std::uintptr_t) override {}
    std::uintptr_t ListItemData(int, int) override { return 0; }
    std::uint32_t IpAddress(int) override { return 0; }
    void SetIpAddress(int, std::uint32_t) override {}
    void ClearIpAddress(int) override {}
    void EndDialog(int) override {}
    platform::WindowId Window() override { return window_; }
    void StartTimer(std::uintptr_t, std::uint32_t) override {}
    void StopTimer(std::uintptr_t) override {}
    void InvalidateItem(int) override {}

private:
    struct List {
        std::map<int, std::u16string> items; // only the selected one is copied
        int count = 0;
        int selection = platform::kNoListSelection;
    };

    platform::WindowId window_{};
    std::map<int, std::u16string> texts_;
    std::map<int, bool> checks_;
    std::map<int, bool> enabled_;
    std::map<int, List> lists_;
};

} // namespace corvane
