#pragma once
// A dialog without a toolkit: the controls' state by id, and the user's actions on them, which
// send the messages a real dialog sends. FakeDialogSystem shows it in place of the platform's.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

class FakeDialog final : public ui::Dialog {
public:
    struct Control {
        std::string text;
        bool enabled = true;
        bool checked = false;
        int minimum = 0, maximum = 0, position = 0;
        std::vector<std::string> entries;
        int selection = -1;
        size_t pictureBytes = 0;
    };
    struct Box {
        std::string text, caption;
    };

    explicit FakeDialog(ui::DialogProc proc) : proc_(std::move(proc)) {}

    // The user's actions. Each fails the test when the control is disabled, as a user could not
    // reach it.
    void Click(int id) {
        EXPECT_TRUE(controls[id].enabled) << "control " << id << " is disabled";
        proc_(*this, ui::WM_COMMAND, ui::CommandParam(id), 0);
    }
    void Toggle(int id) {
        EXPECT_TRUE(controls[id].enabled) << "control " << id << " is disabled";
        controls[id].checked = !controls[id].checked;
        proc_(*this, ui::WM_COMMAND, ui::CommandParam(id), 0);
    }
    void ChooseRadio(int id, int partner) {
        EXPECT_TRUE(controls[id].enabled) << "control " << id << " is disabled";
        controls[id].checked = true;
        controls[partner].checked = false;
        proc_(*this, ui::WM_COMMAND, ui::CommandParam(id), 0);
    }
    void Slide(int id, int position) {
        EXPECT_TRUE(controls[id].enabled) << "control " << id << " is disabled";
        Control& c = controls[id];
        c.position = std::clamp(position, c.minimum, c.maximum);
        proc_(*this, ui::WM_HSCROLL, 0, id);
    }
    void Type(int id, const std::string& text) { controls[id].text = text; }
    void Select(int id, int index) { controls[id].selection = index; }
    void Init() { proc_(*this, ui::WM_INITDIALOG, 0, 0); }

    // ui::Dialog
    void SetCaption(std::string_view text) override { caption = text; }
    void SetItemText(int id, std::string_view text) override { controls[id].text = text; }
    std::string GetItemText(int id) const override { return At(id).text; }
    void EnableItem(int id, bool enabled) override { controls[id].enabled = enabled; }
    void CheckItem(int id, bool checked) override { controls[id].checked = checked; }
    bool IsItemChecked(int id) const override { return At(id).checked; }
    void SetSliderRange(int id, int minimum, int maximum) override {
        controls[id].minimum = minimum;
        controls[id].maximum = maximum;
    }
    void SetSliderPos(int id, int position) override { controls[id].position = position; }
    int GetSliderPos(int id) const override { return At(id).position; }
    void ClearList(int id) override {
        controls[id].entries.clear();
        controls[id].selection = -1;
    }
    void AddListEntry(int id, std::string_view text) override { controls[id].entries.emplace_back(text); }
    void SetListSelection(int id, int index) override { controls[id].selection = index; }
    int GetListSelection(int id) const override { return At(id).selection; }
    void SetItemPicture(int id, std::span<const uint8_t> bitmap) override { controls[id].pictureBytes = bitmap.size(); }
    bool ChooseFileToOpen(std::string_view filter, std::string& path) override {
        ++choosers;
        chooserFilter = filter;
        chooserStart = path;
        if (!chosenFile) return false;
        path = *chosenFile;
        return true;
    }
    void MessageBox(std::string_view text, std::string_view caption) override {
        boxes.push_back({std::string(text), std::string(caption)});
    }
    void End(intptr_t result) override {
        ended = true;
        this->result = result;
    }

    std::map<int, Control> controls;
    std::string caption;
    std::vector<Box> boxes;
    bool ended = false;
    intptr_t result = 0;
    // What the file chooser answers: a file, or nothing (cancelled).
    std::optional<std::string> chosenFile;
    std::string chooserFilter, chooserStart;
    int choosers = 0;

private:
    const Control& At(int id) const {
        static const Control missing;
        const auto found = controls.find(id);
        return found == controls.end() ? missing : found->second;
    }

    ui::DialogProc proc_;
};

// Shows FakeDialogs: WM_INITDIALOG, then `user` acts on the dialog.
class FakeDialogSystem final : public ui::DialogSystem {
public:
    FakeDialogSystem() { ui::SetDialogSystem(this); }
    ~FakeDialogSystem() override { ui::SetDialogSystem(nullptr); }
    FakeDialogSystem(const FakeDialogSystem&) = delete;
    FakeDialogSystem& operator=(const FakeDialogSystem&) = delete;

    bool Available() override { return available; }
    intptr_t RunModal(int resourceId, uint64_t owner, const ui::DialogProc& proc) override {
        shown.push_back(resourceId);
        this->owner = owner;
        FakeDialog dialog(proc);
        dialog.chosenFile = chosenFile;
        dialog.Init();
        if (!dialog.ended && user) user(dialog);
        last = dialog.controls;
        lastBoxes = dialog.boxes;
        return dialog.ended ? dialog.result : -1;
    }

    bool available = true;
    std::function<void(FakeDialog&)> user;
    std::optional<std::string> chosenFile;
    std::vector<int> shown;
    uint64_t owner = 0;
    std::map<int, FakeDialog::Control> last;
    std::vector<FakeDialog::Box> lastBoxes;
};
