#pragma once
// The platform services on Qt: the screen the reader starts on, the standard dialogs, the local
// clock, the program's folder, and pictures read with Qt's image plugins.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QScreen>
#include <future>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/data_folders.h"
#include "platform/platform.h"

namespace quillon::qt {

// One screen of the desktop, not the whole of several: the one under the mouse when the reader
// starts, or the primary one.
class QtScreen : public Screen {
 public:
  QtScreen();
  int WidthTwips() const override;
  int HeightTwips() const override;
  int TwipsPerPixelX() const override;
  int TwipsPerPixelY() const override;
  // The size the reader lays itself out for, instead of the whole screen's: one of its modes on a
  // screen of another size. The area stands at the top of the screen, centred across it.
  void UseArea(int widthPixels, int heightPixels) {
    areaWidth_ = widthPixels;
    areaHeight_ = heightPixels;
  }
  // The screen's size in the pixels the desktop counts (after its own scaling, and ours).
  int PixelWidth() const;
  int PixelHeight() const;
  // Draws every window `factor` times larger than the desktop would, text and shapes at the
  // device's own resolution. Only before the first window is made.
  static void Magnify(double factor);
  // The top-left corner of the area on the desktop, in the desktop's coordinates.
  QPoint Origin() const;
  // Device pixels to a pixel of the layout: the desktop's scaling times ours.
  qreal DevicePixelRatio() const;

 private:
  QScreen* Current() const;
  QPointer<QScreen> screen_;
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

// A picture as Qt holds it, with the device pixels to a pixel of the layout it was drawn for; a
// cursor file also carries its hot spot, in pixels of the layout. A large picture is decoded on a
// thread of its own, begun when it is loaded: a window that shows it first when it paints, or
// never, does not wait for it while it builds.
class QtPicture : public ui::Picture {
 public:
  QtPicture(std::u16string source, std::shared_future<QImage> image, bool isCursor, QPoint hotSpot)
      : ui::Picture(std::move(source)),
        image_(std::move(image)),
        isCursor_(isCursor),
        hotSpot_(hotSpot) {}
  // Waits for the decode; a picture that turned out not to decode is a null image.
  const QImage& Image() const { return image_.get(); }
  // Made on first use and shared by every widget that shows the picture.
  const QPixmap& Pixmap() const;
  bool IsCursor() const { return isCursor_; }
  QPoint HotSpot() const { return hotSpot_; }

 private:
  std::shared_future<QImage> image_;
  mutable QPixmap pixmap_;
  bool isCursor_;
  QPoint hotSpot_;
};

class QtPictures : public Pictures {
 public:
  QtPictures() = default;
  // No decoding thread outlives the pictures: one still running is waited for.
  ~QtPictures() override;
  QtPictures(const QtPictures&) = delete;
  QtPictures& operator=(const QtPictures&) = delete;
  // For the desktop's screens as they are.
  ui::PicturePtr Load(const std::u16string& path) override;
  // For a screen of that many device pixels to a pixel of the layout.
  ui::PicturePtr LoadFor(const std::u16string& path, qreal devicePixelRatio);

 private:
  ui::PicturePtr Read(const std::u16string& source, const QString& name, int ratio);
  // A picture still shown somewhere is not read again (both pages show the same background).
  std::map<std::pair<QString, int>, std::weak_ptr<const QtPicture>> loaded_;
  std::vector<std::shared_future<QImage>> decoding_;
};

// Turns the filter of the open dialog, "txt(*.txt)|*.txt|All Files(*.*)|*.*", into Qt's form,
// "txt (*.txt);;All Files (*)".
QString QtFileFilter(const std::u16string& filter);

}  // namespace quillon::qt
