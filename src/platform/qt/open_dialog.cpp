#include "platform/qt/open_dialog.h"

#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "book/book_labels.h"
#include "platform/qt/convert.h"

namespace quillon::qt {

namespace {

// Where the last book was chosen, for the next dialog of the same run.
std::u16string& LastFolder() {
  static std::u16string folder;
  return folder;
}

std::u16string ParentOf(const std::u16string& folder) {
  const std::size_t slash = folder.rfind(u'/');
  return slash == std::u16string::npos || slash == 0 ? std::u16string(u"/")
                                                     : folder.substr(0, slash);
}

QString Shown(const std::u16string& path) {
  return ToQString(files::ShownPath(path));
}

}  // namespace

OpenBookDialog::OpenBookDialog(QWidget* parent, const QString& filters,
                               const std::u16string& defaultExtension)
    : QDialog(parent),
      folderField_(new QLineEdit(this)),
      list_(new QListWidget(this)),
      nameField_(new QLineEdit(this)),
      filterBox_(new QComboBox(this)),
      defaultExtension_(defaultExtension) {
  setWindowTitle(QStringLiteral("打开"));
  resize(620, 420);
  folderField_->setReadOnly(true);
  auto* up = new QToolButton(this);
  up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  up->setToolTip(QStringLiteral("上一级文件夹"));
  // Enter belongs to the list and the name field, never to a button that has had the focus.
  auto* open = new QPushButton(QStringLiteral("打开"), this);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  open->setAutoDefault(false);
  cancel->setAutoDefault(false);
  filterBox_->addItems(filters.split(QStringLiteral(";;"), Qt::SkipEmptyParts));

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("查找范围："), this), 0, 0);
  grid->addWidget(folderField_, 0, 1);
  grid->addWidget(up, 0, 2);
  grid->addWidget(list_, 1, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("文件名："), this), 2, 0);
  grid->addWidget(nameField_, 2, 1);
  grid->addWidget(open, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("文件类型："), this), 3, 0);
  grid->addWidget(filterBox_, 3, 1);
  grid->addWidget(cancel, 3, 2);

  connect(up, &QToolButton::clicked, this, [this] { ShowFolder(ParentOf(folder_)); });
  connect(open, &QPushButton::clicked, this, [this] { OpenTyped(nameField_->text()); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(nameField_, &QLineEdit::returnPressed, this, [this] { OpenTyped(nameField_->text()); });
  connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { Enter(item); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < entries_.size() &&
        !entries_[static_cast<std::size_t>(row)].IsDirectory) {
      nameField_->setText(list_->item(row)->text());
    }
  });
  connect(filterBox_, &QComboBox::currentIndexChanged, this, [this] { ShowFolder(folder_); });

  const std::u16string start = LastFolder();
  ShowFolder(!start.empty() && files::DirectoryExists(start) ? start : files::WorkingDirectory());
  nameField_->setFocus();
}

QStringList OpenBookDialog::Patterns() const {
  const QString filter = filterBox_->currentText();
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return {QStringLiteral("*")};
  return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void OpenBookDialog::ShowFolder(const std::u16string& folder) {
  folder_ = folder.empty() ? std::u16string(u"/") : folder;
  folderField_->setText(Shown(folder_));
  std::vector<QRegularExpression> patterns;
  for (const QString& pattern : Patterns()) {
    patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(pattern),
                          QRegularExpression::CaseInsensitiveOption);
  }
  entries_.clear();
  for (files::DirectoryEntry& entry : files::ListDirectory(folder_)) {
    if (entry.Name.empty() || entry.Name[0] == u'.') continue;
    const QString shown = Shown(entry.Name);
    if (entry.IsDirectory ||
        std::any_of(patterns.begin(), patterns.end(), [&](const QRegularExpression& pattern) {
          return pattern.match(shown).hasMatch();
        })) {
      entries_.push_back(std::move(entry));
    }
  }
  QCollator collator;
  collator.setNumericMode(true);
  std::sort(entries_.begin(), entries_.end(),
            [&](const files::DirectoryEntry& a, const files::DirectoryEntry& b) {
              if (a.IsDirectory != b.IsDirectory) return a.IsDirectory;
              return collator.compare(Shown(a.Name), Shown(b.Name)) < 0;
            });
  list_->clear();
  const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
  const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
  for (const files::DirectoryEntry& entry : entries_) {
    list_->addItem(
        new QListWidgetItem(entry.IsDirectory ? folderIcon : fileIcon, Shown(entry.Name)));
  }
}

QStringList OpenBookDialog::ShownNames() const {
  QStringList names;
  for (int row = 0; row < list_->count(); ++row) names << list_->item(row)->text();
  return names;
}

void OpenBookDialog::Activate(const QString& shownName) {
  const QList<QListWidgetItem*> found = list_->findItems(shownName, Qt::MatchExactly);
  if (!found.isEmpty()) Enter(found.front());
}

void OpenBookDialog::Enter(QListWidgetItem* item) {
  const int row = list_->row(item);
  if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
  const files::DirectoryEntry entry = entries_[static_cast<std::size_t>(row)];
  const std::u16string path = files::JoinPath(folder_, entry.Name);
  if (entry.IsDirectory) {
    ShowFolder(path);
  } else {
    Choose(path);
  }
}

void OpenBookDialog::OpenTyped(const QString& typed) {
  if (typed.isEmpty()) {
    if (list_->currentItem() != nullptr) Enter(list_->currentItem());
    return;
  }
  // A name as the list shows it stands for that entry: its raw bytes are not in the text.
  if (!typed.contains(QLatin1Char('/'))) {
    const QList<QListWidgetItem*> found = list_->findItems(typed, Qt::MatchExactly);
    if (!found.isEmpty()) return Enter(found.front());
  }
  const std::u16string text = FromQString(typed);
  const std::u16string path = FromQString(
      QDir::cleanPath(ToQString(text[0] == u'/' ? text : files::JoinPath(folder_, text))));
  if (files::DirectoryExists(path)) {
    nameField_->clear();
    return ShowFolder(path);
  }
  if (files::FileExists(path)) return Choose(path);
  const std::u16string name = path.substr(path.rfind(u'/') + 1);
  if (!defaultExtension_.empty() && name.find(u'.') == std::u16string::npos &&
      files::FileExists(path + u"." + defaultExtension_)) {
    return Choose(path + u"." + defaultExtension_);
  }
  QMessageBox box(QMessageBox::Information, windowTitle(), ToQString(BookNotReadText(path)),
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

void OpenBookDialog::Choose(const std::u16string& path) {
  chosen_ = path;
  LastFolder() = ParentOf(path);
  accept();
}

}  // namespace quillon::qt
