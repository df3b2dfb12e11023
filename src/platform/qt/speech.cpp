#include "platform/qt/speech.h"

#include <QMetaObject>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <algorithm>

#include "platform/qt/convert.h"

namespace quillon::qt {

namespace {

const char16_t kNoService[] =
    u"没有找到朗读服务。请安装 speech-dispatcher 和 speech-dispatcher-espeak-ng，"
    u"以及 qt6-speech-speechd-plugin，然后再试。";
const char16_t kNoChineseVoice[] =
    u"朗读服务里没有中文的声音。请安装 speech-dispatcher-espeak-ng，"
    u"或别的带中文声音的语音合成器，然后再试。";

bool IsChinese(const QString& voice) {
  for (const char* word : {"Chinese", "Mandarin", "Cantonese", "chinese", "mandarin"}) {
    if (voice.contains(QLatin1String(word))) return true;
  }
  return voice.contains(QStringLiteral("中文")) || voice.contains(QStringLiteral("普通话"));
}

}  // namespace

// The engine and what it is doing; touched on the engine's thread only.
struct QtSpeech::Engine {
  QTextToSpeech* speech = nullptr;
  QList<QVoice> voices;
  std::u16string problem;
  int utterance = 0;
  // Said is told once the service has begun the text and is ready again; a "ready" before it has
  // begun belongs to the text stopped before.
  bool begun = false;
  bool speaking = false;

  ~Engine() { delete speech; }
};

QtSpeech::QtSpeech() = default;

QtSpeech::~QtSpeech() {
  if (thread_ == nullptr) return;
  Engine* engine = engine_;
  QMetaObject::invokeMethod(worker_, [engine] { delete engine; });
  worker_->deleteLater();
  thread_->quit();
  // A service that hangs does not hold the reader's end; the thread is left to the system then.
  if (thread_->wait(2000)) delete thread_;
}

template <typename Work>
void QtSpeech::OnEngine(Work work) {
  Start();
  Engine* engine = engine_;
  QMetaObject::invokeMethod(
      worker_, [engine, work] { work(*engine); }, Qt::QueuedConnection);
}

void QtSpeech::Start() {
  if (thread_ != nullptr) return;
  thread_ = new QThread;
  worker_ = new QObject;
  worker_->moveToThread(thread_);
  engine_ = new Engine;
  thread_->start();
  Engine* engine = engine_;
  QObject* window = &window_;
  // News for the window, raised there unless a newer text has been given since.
  tell_ = [this, window](int utterance, bool said, std::u16string why) {
    QMetaObject::invokeMethod(
        window,
        [this, utterance, said, why] {
          if (utterance != utterance_) return;
          if (said && onSaid) onSaid();
          if (!said && onFailed) onFailed(why);
        },
        Qt::QueuedConnection);
  };
  const auto tell = tell_;
  QMetaObject::invokeMethod(worker_, [this, engine, window, tell] {
    if (!QTextToSpeech::availableEngines().contains(QStringLiteral("speechd"))) {
      engine->problem = kNoService;
      return;
    }
    engine->speech = new QTextToSpeech(QStringLiteral("speechd"));
    if (engine->speech->state() == QTextToSpeech::Error) {
      engine->problem = kNoService;
      return;
    }
    engine->voices = engine->speech->availableVoices();
    std::stable_partition(engine->voices.begin(), engine->voices.end(),
                          [](const QVoice& voice) { return IsChinese(voice.name()); });
    if (engine->voices.isEmpty() || !IsChinese(engine->voices.front().name())) {
      engine->problem = kNoChineseVoice;
    }
    std::vector<std::u16string> names;
    for (const QVoice& voice : engine->voices) names.push_back(FromQString(voice.name()));
    QMetaObject::invokeMethod(
        window, [this, names] { voices_ = names; }, Qt::QueuedConnection);
    QObject::connect(
        engine->speech, &QTextToSpeech::stateChanged, engine->speech,
        [engine, tell](QTextToSpeech::State state) {
          if (!engine->speaking) return;
          if (state == QTextToSpeech::Speaking) engine->begun = true;
          if (state == QTextToSpeech::Ready && engine->begun) {
            engine->speaking = false;
            tell(engine->utterance, true, {});
          }
          if (state == QTextToSpeech::Error) {
            engine->speaking = false;
            tell(engine->utterance, false,
                 u"朗读服务出了错，朗读停止了：" + FromQString(engine->speech->errorString()));
          }
        });
  });
}

void QtSpeech::Say(const std::u16string& text, const SpeechSettings& settings) {
  const int utterance = ++utterance_;
  const QString words = ToQString(text);
  OnEngine([this, utterance, words, settings](Engine& engine) {
    engine.speaking = false;
    if (!engine.problem.empty() || engine.speech == nullptr) {
      tell_(utterance, false, engine.problem.empty() ? kNoService : engine.problem);
      return;
    }
    engine.speech->stop();
    const QString wanted = ToQString(settings.Voice);
    auto voice = std::find_if(engine.voices.begin(), engine.voices.end(),
                              [&wanted](const QVoice& v) { return v.name() == wanted; });
    if (voice == engine.voices.end()) {
      // The first Chinese voice without a variant's name, as the plainest.
      voice = std::find_if(engine.voices.begin(), engine.voices.end(), [](const QVoice& v) {
        return IsChinese(v.name()) && !v.name().contains(QLatin1Char('+'));
      });
    }
    if (voice == engine.voices.end()) voice = engine.voices.begin();
    if (!(engine.speech->voice() == *voice)) engine.speech->setVoice(*voice);
    engine.speech->setRate(settings.Rate);
    engine.speech->setPitch(settings.Pitch);
    engine.speech->setVolume(settings.Volume);
    engine.utterance = utterance;
    engine.begun = false;
    engine.speaking = true;
    engine.speech->say(words);
  });
}

void QtSpeech::Pause() {
  OnEngine([](Engine& engine) {
    if (engine.speech != nullptr) engine.speech->pause();
  });
}

void QtSpeech::Resume() {
  OnEngine([](Engine& engine) {
    if (engine.speech != nullptr) engine.speech->resume();
  });
}

void QtSpeech::Stop() {
  ++utterance_;
  if (thread_ == nullptr) return;
  OnEngine([](Engine& engine) {
    engine.speaking = false;
    if (engine.speech != nullptr) engine.speech->stop();
  });
}

std::vector<std::u16string> QtSpeech::Voices() {
  Start();
  return voices_;
}

}  // namespace quillon::qt
