// A user interface whose modal dialogs run their real logic against a
// FakeDialogView and are answered by the test: each opening takes the next
// scripted answer, which plays the user (types into items, clicks buttons).
// A dialog that ends itself during initialisation takes no answer; one that
// finds no answer left is closed with the close box.
#pragma once

#include "fakes/fake_dialog_view.h"
#include "platform/dialog_logic.h"
#include "platform/user_interface.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::fakes {

class ScriptedUserInterface : public platform::UserInterface {
public:
    using Answer = std::function<void(FakeDialogView&, platform::DialogLogic&)>;

    struct Opening {
        std::uint16_t templateId = 0;
        platform::WindowId owner = 0;
        std::intptr_t parameter = 0;
        bool shown = false; // false: it ended itself during initialisation
        platform::LanguageId language = 0;
    };

    void Script(Answer answer) { answers_.push_back(std::move(answer)); }
    const std::vector<Opening>& openings() const { return openings_; }
    std::size_t unusedAnswers() const { return answers_.size(); }

    int RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                       platform::WindowId owner, platform::DialogLogic& logic,
                       std::intptr_t parameter) override {
        openings_.push_back({templateId, owner, parameter, false, language});
        const std::size_t opening = openings_.size() - 1;
        FakeDialogView view;
        logic.OnInitDialog(view, parameter);
        if (view.endResult() == 0) {
            openings_[opening].shown = true;
            if (answers_.empty()) {
                logic.OnClose(view);
            } else {
                Answer answer = std::move(answers_.front());
                answers_.pop_front();
                answer(view, logic);
            }
        }
        logic.OnDestroy(view);
        return view.endResult() == 0 ? platform::kDialogCancel : view.endResult();
    }
    int MessageBox(platform::WindowId, const char16_t*, const char16_t*, std::uint32_t) override {
        return platform::kDialogOk;
    }
    bool HasMessageBoxTimeout() override { return true; }
    int MessageBoxTimeout(platform::WindowId, const char16_t*, const char16_t*, std::uint32_t,
                          platform::LanguageId, std::uint32_t) override {
        return platform::kDialogOk;
    }
    platform::HResult BrowseDomainTree(platform::WindowId, std::u16string&) override {
        return static_cast<platform::HResult>(0x80004005u); // E_FAIL: no picker
    }
    void ShowWaitCursor(bool) override {}

private:
    std::deque<Answer> answers_;
    std::vector<Opening> openings_;
};

} // namespace corvane::fakes
