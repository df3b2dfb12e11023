#include "support/fake_platform.h"

#include "platform/codepage.h"
#include "platform/files.h"

namespace quillon::fake {

namespace {

template <class T>
std::optional<T> TakeFront(std::deque<std::optional<T>>& answers) {
  if (answers.empty()) return std::nullopt;
  std::optional<T> answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

void FakeDialogs::MessageBox(const std::u16string& text, const std::u16string& title,
                             MessageIcon icon) {
  messages.push_back({text, title, icon});
}

std::optional<std::u16string> FakeDialogs::InputBox(const std::u16string& prompt,
                                                    const std::u16string& title) {
  (void)title;
  inputPrompts.push_back(prompt);
  return TakeFront(inputAnswers);
}

std::optional<std::u16string> FakeDialogs::OpenFile(const OpenFileRequest& request) {
  openRequests.push_back(request);
  return TakeFront(openAnswers);
}

bool FakeDialogs::Ask(const std::u16string& text, const std::u16string&, const std::u16string&,
                      const std::u16string&) {
  questions.push_back(text);
  if (askAnswers.empty()) return false;
  const bool answer = askAnswers.front();
  askAnswers.pop_front();
  return answer;
}

void FakeDialogs::RunLongTask(const std::u16string& text, LongTask& task,
                              const std::function<void()>& work) {
  longTasks.push_back(text);
  if (cancelLongTasks) task.Cancel = true;
  work();
}

std::optional<ui::Color> FakeDialogs::ChooseColor(ui::Color initial) {
  (void)initial;
  return TakeFront(colorAnswers);
}

void FakeFormHost::RunModal(ui::Form& form) {
  modal.push_back(&form);
  if (onModal) onModal(form);
}

ui::PicturePtr FakePictures::Load(const std::u16string& path) {
  auto bytes = files::ReadWholeFile(path);
  if (!bytes || bytes->size() < 4) return nullptr;
  const std::string& b = *bytes;
  const bool jpeg = b.compare(0, 3, "\xFF\xD8\xFF") == 0;
  const bool png = b.compare(0, 4, "\x89PNG") == 0;
  const bool cursor = b.compare(0, 4, std::string("\0\0\2\0", 4)) == 0;
  if (!jpeg && !png && !cursor) return nullptr;
  loaded.push_back(path);
  return std::make_shared<ui::Picture>(path);
}

FakePlatform::FakePlatform() : program(folder.path16()) {}

}  // namespace quillon::fake
