#pragma once
// The desktop's speech service through Qt TextToSpeech and speech-dispatcher. The engine lives on a
// thread of its own, started when the reader first reads aloud: reaching the service can take
// seconds (it may have to start), and the window never waits for it.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

class QThread;

namespace quillon::qt {

class QtSpeech : public Speech {
 public:
  QtSpeech();
  ~QtSpeech() override;
  QtSpeech(const QtSpeech&) = delete;
  QtSpeech& operator=(const QtSpeech&) = delete;

  void Say(const std::u16string& text, const SpeechSettings& settings) override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  std::vector<std::u16string> Voices() override;

 private:
  struct Engine;
  void Start();
  // Runs `work` on the engine's thread, with the engine.
  template <typename Work>
  void OnEngine(Work work);

  QThread* thread_ = nullptr;
  QObject* worker_ = nullptr;  // lives on the thread; the engine's work is queued to it
  Engine* engine_ = nullptr;   // used on the thread only
  QObject window_;             // lives on the window's thread; the engine's news is queued to it
  // Tells the window that text `utterance` was said (or why not); from the engine's thread.
  std::function<void(int utterance, bool said, std::u16string why)> tell_;
  int utterance_ = 0;
  std::vector<std::u16string> voices_;
};

}  // namespace quillon::qt
