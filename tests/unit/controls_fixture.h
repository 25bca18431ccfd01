// What the control-model tests share: a form to put controls on, and a fixture that leaves no form
// loaded behind it for the next test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/controls/application.h"
#include "ui/controls/form.h"

namespace nullora::test {

class PlainForm : public ui::Form {
 public:
  explicit PlainForm(std::string name = "fTest") : ui::Form(std::move(name)) {}
};

class ControlsTest : public testing::Test {
 protected:
  void TearDown() override { ui::Application::Get().Reset(); }
};

}  // namespace nullora::test
