#pragma once
// Dialogs whose answers a test scripts in advance; every question and message is recorded.
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace zentrik::testing {

class ScriptedDialogs final : public ui::Dialogs {
  public:
    struct Shown {
        std::string kind;  // "message", "question", "open", "save"
        std::string caption;
        std::string text;
    };

    void message(const std::string& caption, const std::string& text) override {
        record({"message", caption, text});
    }
    bool ask_yes_no(const std::string& caption, const std::string& text) override {
        record({"question", caption, text});
        std::lock_guard lock(mutex_);
        if (answers_.empty())
            return false;
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest& r) override {
        record({"open", r.filter_name, r.initial_name});
        return next_file();
    }
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest& r) override {
        record({"save", r.filter_name, r.initial_name});
        return next_file();
    }

    void answer(bool yes) {
        std::lock_guard lock(mutex_);
        answers_.push_back(yes);
    }
    void choose_file(std::optional<std::filesystem::path> file) {
        std::lock_guard lock(mutex_);
        files_.push_back(std::move(file));
    }
    std::vector<Shown> shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

  private:
    void record(Shown s) {
        std::lock_guard lock(mutex_);
        shown_.push_back(std::move(s));
    }
    std::optional<std::filesystem::path> next_file() {
        std::lock_guard lock(mutex_);
        if (files_.empty())
            return std::nullopt;
        auto f = std::move(files_.front());
        files_.pop_front();
        return f;
    }

    mutable std::mutex mutex_;
    std::deque<bool> answers_;
    std::deque<std::optional<std::filesystem::path>> files_;
    std::vector<Shown> shown_;
};

}  // namespace zentrik::testing
