#pragma once

#include "Installation.h"
#include "RecordingHooks.h"

#include "app/uMainFrm.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <memory>

// A main window over a test installation, with fake platform services.
class MainFrmTest : public ::testing::Test {
protected:
    std::unique_ptr<app::TMainFrm> start() { return std::make_unique<app::TMainFrm>(hooks_); }

    Installation inst_;
    platform::fake::FakePlatform fake_;
    std::shared_ptr<RecordingHooks> hooks_ = std::make_shared<RecordingHooks>();
};
