// The next scripted answer to a question a test's stand-in view is asked; a
// question the test did not expect fails the test and gets the fallback.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace posewright {

template <typename Answer>
Answer NextAnswer(std::deque<Answer>& answers, const std::string& question, Answer fallback) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << question;
    return fallback;
  }
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace posewright
