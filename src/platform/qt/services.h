#pragma once
// The platform services on Qt: the primary screen, the standard dialogs, the local clock, the
// program's folder, and pictures read with Qt's image plugins.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <string>

#include "platform/data_folders.h"
#include "platform/platform.h"

namespace quillon::qt {

class QtScreen : public Screen {
 public:
  int WidthTwips() const override;
  int HeightTwips() const override;
  int TwipsPerPixelX() const override;
  int TwipsPerPixelY() const override;
  // The size the reader lays itself out for, instead of the whole screen's (--screen).
  void UseArea(int widthPixels, int heightPixels) {
    areaWidth_ = widthPixels;
    areaHeight_ = heightPixels;
  }
  int PixelWidth() const;
  int PixelHeight() const;

 private:
  int areaWidth_ = 0;
  int areaHeight_ = 0;
};

class QtDialogs : public Dialogs {
 public:
  void MessageBox(const std::u16string& text, const std::u16string& title,
                  MessageIcon icon) override;
  std::optional<std::u16string> InputBox(const std::u16string& prompt,
                                         const std::u16string& title) override;
  std::optional<std::u16string> OpenFile(const OpenFileRequest& request) override;
  std::optional<ui::Color> ChooseColor(ui::Color initial) override;
  bool Ask(const std::u16string& text, const std::u16string& title, const std::u16string& yes,
           const std::u16string& no) override;
  void RunLongTask(const std::u16string& text, LongTask& task,
                   const std::function<void()>& work) override;
};

class QtClock : public Clock {
 public:
  DateTime Now() const override;
};

class QtProgram : public Program {
 public:
  QtProgram();
  // Makes the writable folder when it is the user's: the reader makes Configure/ and Bookmark/
  // itself, but not the folders above them.
  void MakeWritableFolder() const;
  std::u16string Directory() const override { return folders_.Writable; }
  std::u16string ShippedDirectory() const override { return folders_.Shipped; }
  void End() override;
  bool Ended() const override { return ended_; }

 private:
  DataFolders folders_;
  bool ended_ = false;
};

// A picture as Qt holds it; a cursor file also carries its hot spot.
class QtPicture : public ui::Picture {
 public:
  QtPicture(std::u16string source, QImage image, bool isCursor, QPoint hotSpot)
      : ui::Picture(std::move(source)),
        image_(std::move(image)),
        isCursor_(isCursor),
        hotSpot_(hotSpot) {}
  const QImage& Image() const { return image_; }
  // Made on first use and shared by every widget that shows the picture.
  const QPixmap& Pixmap() const;
  bool IsCursor() const { return isCursor_; }
  QPoint HotSpot() const { return hotSpot_; }

 private:
  QImage image_;
  mutable QPixmap pixmap_;
  bool isCursor_;
  QPoint hotSpot_;
};

class QtPictures : public Pictures {
 public:
  ui::PicturePtr Load(const std::u16string& path) override;
};

// Turns the filter of the open dialog, "txt(*.txt)|*.txt|All Files(*.*)|*.*", into Qt's form,
// "txt (*.txt);;All Files (*)".
QString QtFileFilter(const std::u16string& filter);

}  // namespace quillon::qt
