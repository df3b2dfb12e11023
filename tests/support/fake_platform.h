#pragma once
// A platform for tests: any screen size, scripted dialog answers with a log of every message, a
// clock the test sets, a temporary program folder, and a record of forms shown and unloaded.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/form.h"
#include "support/temp_dir.h"

namespace quillon::fake {

class FakeScreen : public Screen {
 public:
  int widthPx = 1024;
  int heightPx = 768;
  int twipsPerPixel = 15;

  void SetPixels(int width, int height) {
    widthPx = width;
    heightPx = height;
  }
  int WidthTwips() const override { return widthPx * twipsPerPixel; }
  int HeightTwips() const override { return heightPx * twipsPerPixel; }
  int TwipsPerPixelX() const override { return twipsPerPixel; }
  int TwipsPerPixelY() const override { return twipsPerPixel; }
};

struct ShownMessage {
  std::u16string text;
  std::u16string title;
  MessageIcon icon;
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<ShownMessage> messages;
  // Answers handed out in order; an empty queue answers "cancelled".
  std::deque<std::optional<std::u16string>> inputAnswers;
  std::deque<std::optional<std::u16string>> openAnswers;
  std::deque<std::optional<ui::Color>> colorAnswers;
  // Answers to questions, in order; an empty queue answers no.
  std::deque<bool> askAnswers;
  std::vector<std::u16string> questions;
  std::vector<OpenFileRequest> openRequests;
  std::vector<std::u16string> inputPrompts;

  void MessageBox(const std::u16string& text, const std::u16string& title,
                  MessageIcon icon) override;
  std::optional<std::u16string> InputBox(const std::u16string& prompt,
                                         const std::u16string& title) override;
  std::optional<std::u16string> OpenFile(const OpenFileRequest& request) override;
  std::optional<ui::Color> ChooseColor(ui::Color initial) override;
  bool Ask(const std::u16string& text, const std::u16string& title, const std::u16string& yes,
           const std::u16string& no) override;
  // Runs the work at once; with `cancelLongTasks` the user has pressed 取消 before it starts.
  void RunLongTask(const std::u16string& text, LongTask& task,
                   const std::function<void()>& work) override;
  bool cancelLongTasks = false;
  std::vector<std::u16string> longTasks;
};

class FakeFormHost : public FormHost {
 public:
  std::vector<ui::Form*> shown;
  std::vector<ui::Form*> modal;
  std::vector<ui::Form*> unloaded;
  // Works a modal form (clicks its buttons) before RunModal returns.
  std::function<void(ui::Form&)> onModal;
  // Picks from a popup menu (raises an item's click) before PopupMenu returns.
  std::function<void(const ui::Menu&)> onPopup;
  int popups = 0;

  void Show(ui::Form& form) override { shown.push_back(&form); }
  void RunModal(ui::Form& form) override;
  void Unload(ui::Form& form) override { unloaded.push_back(&form); }
  void PopupMenu(ui::Form&, const ui::Menu& menu) override {
    ++popups;
    if (onPopup) onPopup(menu);
  }
};

class FakeClock : public Clock {
 public:
  DateTime now{2026, 12, 6, 5, 18, 3};
  DateTime Now() const override { return now; }
  void Advance(int seconds) { now = DateTime::FromSeconds(now.ToSeconds() + seconds); }
};

class FakeProgram : public Program {
 public:
  explicit FakeProgram(std::u16string directory) : directory_(std::move(directory)) {}
  std::u16string Directory() const override { return directory_; }
  // The same folder as Directory, as in a portable copy, unless a test sets another.
  std::u16string ShippedDirectory() const override {
    return shipped_.empty() ? directory_ : shipped_;
  }
  void SetShippedDirectory(std::u16string directory) { shipped_ = std::move(directory); }
  void End() override { ended_ = true; }
  bool Ended() const override { return ended_; }
  void SetDirectory(std::u16string directory) { directory_ = std::move(directory); }

 private:
  std::u16string directory_;
  std::u16string shipped_;
  bool ended_ = false;
};

// Loads what looks like a JPEG, PNG or cursor file, so a missing or junk file gives no picture
// exactly as the real loader does.
class FakePictures : public Pictures {
 public:
  std::vector<std::u16string> loaded;
  ui::PicturePtr Load(const std::u16string& path) override;
};

// A speech service that says nothing until told: the test (or the walk) ends what is being said,
// fails it, or takes the service away.
class FakeSpeech : public Speech {
 public:
  std::vector<std::u16string> said;  // every text given to Say, in order
  SpeechSettings settings;           // those of the last Say
  bool speaking = false;
  bool paused = false;
  std::vector<std::u16string> voices{u"Chinese (Mandarin)", u"English (America)"};

  void Say(const std::u16string& text, const SpeechSettings& with) override {
    said.push_back(text);
    settings = with;
    speaking = true;
    paused = false;
  }
  void Pause() override { paused = speaking; }
  void Resume() override { paused = false; }
  void Stop() override { speaking = paused = false; }
  std::vector<std::u16string> Voices() override { return voices; }

  // The text being said has been said.
  void Finish() {
    if (!speaking || paused) return;
    speaking = false;
    if (onSaid) onSaid();
  }
  void Fail(const std::u16string& why) {
    speaking = paused = false;
    if (onFailed) onFailed(why);
  }
};

class FakePlatform {
 public:
  FakePlatform();

  // The program folder, empty at first.
  std::u16string Directory() const { return program.Directory(); }
  std::string DirectoryUtf8() const { return folder.path(); }

  TempDir folder;
  FakeScreen screen;
  FakeDialogs dialogs;
  FakeFormHost forms;
  FakeClock clock;
  FakeProgram program;
  FakePictures pictures;
  FakeSpeech speech;
  Platform platform{screen, dialogs, forms, clock, program, pictures, &speech};
};

}  // namespace quillon::fake
