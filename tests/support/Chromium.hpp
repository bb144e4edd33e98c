#pragma once

#include <string>

#include "TempFolder.hpp"

// The document a real headless Chromium builds from `url`, as HTML: what a
// browser shows, after its parser has had its say. Chromium's profile and
// output go to `folder`; empty when Chromium fails.
std::string renderedDocument(const std::string& url, const TempFolder& folder);
