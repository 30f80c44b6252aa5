// Shared set-up for the association tests: a registry of the test's own and
// settings as the program entry leaves them (all five names selected).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
        // Natively a Windows path such as C:\Browser\B.EXE names a file
        // below the current directory: the scratch folder.
        startFolder = std::filesystem::current_path();
        std::filesystem::current_path(sandbox.folder());
    }

    void TearDown() override {
        std::error_code ignored;
        for (auto placed = placedFiles.rbegin(); placed != placedFiles.rend(); ++placed)
            std::filesystem::remove(*placed, ignored);
        std::filesystem::current_path(startFolder, ignored);
    }

    // Chooses path as the browser, and puts an empty file there (under Wine
    // on drive C, natively below the scratch folder) so that the apply
    // finds one.
    void choosePath(const std::string &path) {
        ASSERT_LT(path.size(), sizeof browserSettings.browserPath);
        std::memcpy(browserSettings.browserPath, path.c_str(), path.size() + 1);
        std::string local = path;
        std::replace(local.begin(), local.end(), '\\', static_cast<char>(std::filesystem::path::preferred_separator));
        const std::filesystem::path file(local);
        std::vector<std::filesystem::path> missing;
        for (auto folder = file.parent_path(); !folder.empty() && !std::filesystem::exists(folder);
             folder = folder.parent_path())
            missing.push_back(folder);
        for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
            ASSERT_TRUE(std::filesystem::create_directory(*folder)) << folder->string();
            placedFiles.push_back(*folder);
        }
        if (std::filesystem::exists(file)) return;
        ASSERT_TRUE(std::ofstream(file).good()) << local;
        placedFiles.push_back(file);
    }

    // A path of the length given, its folders' names 100 characters long.
    static std::string longPath(const std::string &start, size_t length) {
        std::string path = start;
        while (path.size() < length) path += (path.size() - start.size()) % 101 == 100 ? '\\' : 'B';
        path.back() = 'B';
        return path;
    }

    static void selectOnly(bool htmlFile, bool http, bool https, bool ftp, bool gopher) {
        browserSettings.registerHtmlFile = htmlFile;
        browserSettings.registerHttp = http;
        browserSettings.registerHttps = https;
        browserSettings.registerFtp = ftp;
        browserSettings.registerGopher = gopher;
    }

    RegistrySandbox sandbox;
    std::filesystem::path startFolder;
    std::vector<std::filesystem::path> placedFiles;  // in the order made
};

}  // namespace corvant::testing
