// Reading aloud: a sentence at a time through the desktop's speech service, the sentence being
// read marked on its page, the page turned when the next one begins on the next, and the reading
// following the user wherever the user goes in the book.

#include "book/search_from.h"
#include "platform/files.h"
#include "reader/frmMain.h"
#include "speech/frmSpeech.h"

namespace quillon {

namespace {

const char16_t kNoSpeech[] =
    u"没有找到朗读服务。请安装 speech-dispatcher 和 speech-dispatcher-espeak-ng"
    u"（还有 qt6-speech-speechd-plugin），然后再试。";

// The service is given this long to say a sentence, and a little more for each character.
constexpr std::int64_t kSentenceSeconds = 20;

}  // namespace

void frmMain::ToggleReading() {
  if (OnCover() || PageCount <= 0) return;
  if (platform_.speech == nullptr) {
    platform_.dialogs.MessageBox(kNoSpeech, u"朗读", MessageIcon::Information);
    return;
  }
  switch (ReadingAloud) {
    case Reading::Off:
      ReadSpeechChoices();
      StopScrollingIfRunning();
      SettleSlide();
      readingStarted_ = platform_.clock.Now();
      ReadFromPageInView();
      break;
    case Reading::Speaking:
      ReadingAloud = Reading::Paused;
      tmrSpeech.Enabled = false;
      platform_.speech->Pause();
      break;
    case Reading::Paused:
      ReadingAloud = Reading::Speaking;
      sentenceStarted_ = platform_.clock.Now();
      tmrSpeech.Enabled = true;
      platform_.speech->Resume();
      break;
  }
}

void frmMain::StopReading() {
  if (ReadingAloud == Reading::Off) return;
  ReadingAloud = Reading::Off;
  tmrSpeech.Enabled = false;
  if (platform_.speech != nullptr) platform_.speech->Stop();
  // Leaving, the place kept is the sentence that was being read.
  if (SpokenSentence) keptPlace_ = SpokenSentence->Start();
  SpokenSentence.reset();
  ClearMarks();
}

void frmMain::ReadFromPageInView() {
  const std::optional<Sentence> first =
      SentenceFrom(BookLines, PlaceOfRow(BookLines, BookRows, PageInView() * PageRows));
  if (!first) {
    StopReading();
    platform_.dialogs.MessageBox(u"从这一页起，书中没有可以朗读的文字了。", u"朗读",
                                 MessageIcon::Information);
    return;
  }
  ReadingAloud = Reading::Speaking;
  MarkedHit.reset();
  ReadSentence(*first);
}

void frmMain::ReadSentence(const Sentence& sentence) {
  SpokenSentence = sentence;
  const std::int32_t page = PageOfPlace(sentence.Line, sentence.Offset);
  if (page != PageInView()) {
    turningForSpeech_ = true;
    // The next page slides in as a turn does; a page further on is shown at once.
    if (page == PageInView() + 1) {
      cmdNext.Value = true;
    } else {
      ShowPageAtRest(page);
    }
    turningForSpeech_ = false;
  }
  keptPlace_ = sentence.Start();
  MarkSentence();
  sentenceStarted_ = platform_.clock.Now();
  tmrSpeech.Enabled = ReadingAloud == Reading::Speaking;
  platform_.speech->Say(ShownText(sentence.Line, sentence.Offset, sentence.Length),
                        speechChoices_.Speech);
  if (ReadingAloud == Reading::Paused) platform_.speech->Pause();
}

void frmMain::MarkSentence() {
  if (ReadingAloud == Reading::Off || !SpokenSentence) return;
  // Only the sentence being read is marked, not the one before it on the same page.
  ClearMarks();
  MarkSpan({SpokenSentence->Line, SpokenSentence->Offset, SpokenSentence->Length});
}

void frmMain::FollowReading() {
  if (ReadingAloud == Reading::Off || turningForSpeech_) return;
  platform_.speech->Stop();
  ReadFromPageInView();
}

void frmMain::Speech_Said() {
  if (ReadingAloud != Reading::Speaking || !SpokenSentence) return;
  const std::int64_t sleep = std::int64_t{speechChoices_.SleepMinutes} * 60;
  if (sleep > 0 && platform_.clock.Now().ToSeconds() - readingStarted_.ToSeconds() >= sleep) {
    StopReading();
    return;
  }
  const std::optional<Sentence> next = SentenceAfter(BookLines, *SpokenSentence);
  if (!next) {
    StopReading();
    platform_.dialogs.MessageBox(u"这本书读完了。", u"朗读", MessageIcon::Information);
    return;
  }
  ReadSentence(*next);
}

void frmMain::Speech_Failed(const std::u16string& why) {
  if (ReadingAloud == Reading::Off) return;
  StopReading();
  platform_.dialogs.MessageBox(why, u"朗读", MessageIcon::Information);
}

void frmMain::tmrSpeech_Timer() {
  if (ReadingAloud != Reading::Speaking || !SpokenSentence) return;
  const std::int64_t allowed = kSentenceSeconds + SpokenSentence->Length;
  if (platform_.clock.Now().ToSeconds() - sentenceStarted_.ToSeconds() > allowed) {
    Speech_Failed(u"朗读服务没有回应，朗读停止了。请检查 speech-dispatcher 是否还在运行。");
  }
}

void frmMain::ReadSpeechChoices() {
  if (speechChoicesRead_) return;
  speechChoicesRead_ = true;
  speechChoices_ = ParseSpeechSettings(
      files::ReadWholeFile(SpeechSettingsFilePath(platform_.program.Directory()))
          .value_or(std::string()));
}

void frmMain::ShowSpeechSettings() {
  ReadSpeechChoices();
  frmSpeech settings(platform_, speechChoices_, Icon);
  settings.ShowModal();
}

}  // namespace quillon
