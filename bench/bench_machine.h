#pragma once
// Just enough of a machine for the reader window in a benchmark: a 1024*768 screen, dialogs that
// print, nothing shown, and a program folder of the benchmark's choosing.

#include <cstdio>
#include <optional>
#include <string>

#include "platform/codepage.h"
#include "platform/platform.h"

class BenchMachine : public quillon::Screen,
                     public quillon::Dialogs,
                     public quillon::FormHost,
                     public quillon::Clock,
                     public quillon::Program,
                     public quillon::Pictures {
 public:
  explicit BenchMachine(std::u16string directory) : directory_(std::move(directory)) {}
  int WidthTwips() const override { return 1024 * 15; }
  int HeightTwips() const override { return 768 * 15; }
  int TwipsPerPixelX() const override { return 15; }
  int TwipsPerPixelY() const override { return 15; }
  void MessageBox(const std::u16string& text, const std::u16string&,
                  quillon::MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", quillon::codepage::EncodeUtf8(text).c_str());
  }
  std::optional<std::u16string> InputBox(const std::u16string&, const std::u16string&) override {
    return {};
  }
  std::optional<std::u16string> OpenFile(const quillon::OpenFileRequest&) override { return {}; }
  std::optional<quillon::ui::Color> ChooseColor(quillon::ui::Color) override { return {}; }
  bool Ask(const std::u16string&, const std::u16string&, const std::u16string&,
           const std::u16string&) override {
    return false;
  }
  void RunLongTask(const std::u16string&, quillon::LongTask&,
                   const std::function<void()>& work) override {
    work();
  }
  void Show(quillon::ui::Form&) override {}
  void RunModal(quillon::ui::Form&) override {}
  void Unload(quillon::ui::Form&) override {}
  void PopupMenu(quillon::ui::Form&, const quillon::ui::Menu&) override {}
  quillon::DateTime Now() const override { return {}; }
  std::u16string Directory() const override { return directory_; }
  std::u16string ShippedDirectory() const override { return directory_; }
  void End() override {}
  bool Ended() const override { return false; }
  quillon::ui::PicturePtr Load(const std::u16string&) override { return nullptr; }

  quillon::Platform platform{*this, *this, *this, *this, *this, *this};

 private:
  std::u16string directory_;
};
