// Shared set-up for the association tests: a registry of the test's own and
// settings as the program entry leaves them (all five names selected).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

class AssocTest : public ::testing::Test {
protected:
    void SetUp() override {
        browserSettings = BrowserSettings{};
        browserSettings.registerHtmlFile = true;
        browserSettings.registerHttp = true;
        browserSettings.registerHttps = true;
        browserSettings.registerFtp = true;
        browserSettings.registerGopher = true;
        mainDialogWindow = nullptr;
    }

    static void choosePath(const std::string &path) {
        ASSERT_LT(path.size(), sizeof browserSettings.browserPath);
        std::memcpy(browserSettings.browserPath, path.c_str(), path.size() + 1);
    }

    static void selectOnly(bool htmlFile, bool http, bool https, bool ftp, bool gopher) {
        browserSettings.registerHtmlFile = htmlFile;
        browserSettings.registerHttp = http;
        browserSettings.registerHttps = https;
        browserSettings.registerFtp = ftp;
        browserSettings.registerGopher = gopher;
    }

    RegistrySandbox sandbox;
};

}  // namespace corvant::testing
