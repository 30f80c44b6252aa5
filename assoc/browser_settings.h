// The run's choices: which kind of browser, which registered names to
// change, and where the browser's executable is. Starts from fixed defaults
// every run and is never saved.
#pragma once

#include <cstddef>

constexpr std::size_t browserPathSize = 8192;

struct BrowserSettings {
    bool browserIsNetscape = true;
    bool browserIsOther = false;
    // Set to true by the program entry before the main dialog opens.
    bool registerHtmlFile = false;
    bool registerHttp = false;
    bool registerHttps = false;
    bool registerGopher = false;
    bool registerFtp = false;
    char browserPath[browserPathSize] = "";
};

extern BrowserSettings browserSettings;
