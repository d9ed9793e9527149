// A Keyframe panel view that records what the panel shows and answers
// questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/panels/KeyframePanelView.h"
#include "support/ScriptedAnswers.h"

namespace posewright {

struct ScriptedKeyframeView : KeyframePanelView {
  std::string title = "Keyframe";
  std::string timeText;
  int32_t rangeMin = 0, rangeMax = 100;
  int32_t position = 0;
  std::vector<std::string> labels;
  std::vector<KeyframeMarker> markers;
  SliderChannel channel{8, 600};
  /// "caption: text" of every message box and question, in order.
  std::vector<std::string> boxes;
  /// Answers to the next questions; a question without one fails the test.
  std::deque<bool> answers;

  void setTitle(const std::string& t) override { title = t; }
  void setTimeText(const std::string& t) override { timeText = t; }
  void setSliderRange(int32_t lo, int32_t hi) override { rangeMin = lo, rangeMax = hi; }
  void setSliderPosition(int32_t p) override { position = p; }
  void setWindowLabels(const std::string& a, const std::string& b, const std::string& c) override {
    labels = {a, b, c};
  }
  void showMarkers(const std::vector<KeyframeMarker>& m) override { markers = m; }
  SliderChannel sliderChannel() const override { return channel; }
  void showMessage(const std::string& text, const std::string& caption) override {
    boxes.push_back(caption + ": " + text);
  }
  bool askOkCancel(const std::string& text, const std::string& caption) override {
    boxes.push_back(caption + "? " + text);
    return NextAnswer(answers, text, false);
  }
};
}  // namespace posewright
