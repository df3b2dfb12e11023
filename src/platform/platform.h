#pragma once
// Everything the reader asks of the machine, handed to the windows as one object. The Qt backend
// implements it for real; tests/support has a fake of each service.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/ui/types.h"

namespace quillon {

namespace ui {
class Form;
struct Menu;
}  // namespace ui

class Screen {
 public:
  virtual ~Screen() = default;
  virtual int WidthTwips() const = 0;
  virtual int HeightTwips() const = 0;
  virtual int TwipsPerPixelX() const = 0;
  virtual int TwipsPerPixelY() const = 0;
};

enum class MessageIcon { None, Information };

// Work that may take a while, such as opening a large book. It runs beside the window, which
// keeps painting, and after about half a second a small window shows how far it has got, with
// 取消. The work checks Cancel and counts Done up to Total as it goes.
struct LongTask {
  std::atomic<bool> Cancel{false};
  std::atomic<std::size_t> Done{0};
  std::size_t Total = 0;
  // The window already shows what the work completes: it is drawn before the work starts and
  // paints from the first moment of the wait.
  bool PaintAtOnce = false;
};

struct OpenFileRequest {
  std::u16string DefaultExt;  // "txt": added to a typed name that has no extension
  std::u16string Filter;      // "txt(*.txt)|*.txt|All Files(*.*)|*.*"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // One OK button; returns when the user closed the box.
  virtual void MessageBox(const std::u16string& text, const std::u16string& title,
                          MessageIcon icon) = 0;
  // nullopt when the user cancelled.
  virtual std::optional<std::u16string> InputBox(const std::u16string& prompt,
                                                 const std::u16string& title) = 0;
  // The chosen file's full path, or nullopt when the user cancelled.
  virtual std::optional<std::u16string> OpenFile(const OpenFileRequest& request) = 0;
  // The chosen colour, or nullopt when the user cancelled.
  virtual std::optional<ui::Color> ChooseColor(ui::Color initial) = 0;
  // A question with two answers: true for `yes` (e.g. "仍然打开"), false for `no` or a closed box.
  virtual bool Ask(const std::u16string& text, const std::u16string& title,
                   const std::u16string& yes, const std::u16string& no) = 0;
  // Runs `work` for `task` and returns once it has finished; what the work throws reaches the
  // caller. `text` says what is being done ("正在打开……").
  virtual void RunLongTask(const std::u16string& text, LongTask& task,
                           const std::function<void()>& work) = 0;
};

// Shows forms, runs modal ones and takes them down again.
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void Show(ui::Form& form) = 0;
  // Returns once the form has been unloaded.
  virtual void RunModal(ui::Form& form) = 0;
  virtual void Unload(ui::Form& form) = 0;
  // Pops the menu up at the mouse over the form and returns once it has closed; the item chosen,
  // if any, has had its click raised by then.
  virtual void PopupMenu(ui::Form& form, const ui::Menu& menu) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

class Program {
 public:
  virtual ~Program() = default;
  // The folder that holds Configure/Readerset.dat and Bookmark/, without a trailing '/': beside
  // the executable for a portable copy, below the user's data folder for an installed one.
  virtual std::u16string Directory() const = 0;
  // The folder of the shipped pictures and icons (Configure/*.jpg, Icosource/).
  virtual std::u16string ShippedDirectory() const = 0;
  // Ends the program at once: nothing more is shown and nothing is saved. Code that calls it
  // returns straight away without touching any state.
  virtual void End() = 0;
  virtual bool Ended() const = 0;
};

class Pictures {
 public:
  virtual ~Pictures() = default;
  // Null when the file is missing or is not a picture the platform can read.
  virtual ui::PicturePtr Load(const std::u16string& path) = 0;
};

// How a text is said: the voice (empty: the service's own choice among its Chinese voices), the
// rate and the pitch from -1 to 1 (0 as the voice is), the volume from 0 to 1.
struct SpeechSettings {
  std::u16string Voice;
  double Rate = 0;
  double Pitch = 0;
  double Volume = 1;
};

// The desktop's speech service. Nothing here waits on it: Say returns at once, and what becomes
// of the text is told through the events, later, on the window's thread. Saying a text stops the
// one before, whose events are not raised any more.
class Speech {
 public:
  virtual ~Speech() = default;
  virtual void Say(const std::u16string& text, const SpeechSettings& settings) = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual void Stop() = 0;
  // The names of the voices the service has, Chinese ones first; none while it is starting (it is
  // asked for them then, and has them the next time).
  virtual std::vector<std::u16string> Voices() = 0;

  // The text has been said.
  std::function<void()> onSaid;
  // The text cannot be said: no service, no Chinese voice, or the service gone; with what to tell
  // the user, which says what to install where that helps.
  std::function<void(const std::u16string& why)> onFailed;
};

struct Platform {
  Screen& screen;
  Dialogs& dialogs;
  FormHost& forms;
  Clock& clock;
  Program& program;
  Pictures& pictures;
  // Null where the machine has no way to speak at all.
  Speech* speech = nullptr;
};

}  // namespace quillon
