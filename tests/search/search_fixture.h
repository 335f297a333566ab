// End-to-end fixture: the real windows offscreen over the build's German or English word files,
// with recorded dialogs and the controller's state reset between cases. The word files are
// opened once per test program. Main OS thread only.
#pragma once

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "local_http_server.h"
#include "test_ui.h"
#include "tools/drive/SearchDriver.h"

namespace searchtest {

// Opens the build's word files of `language` ("DE" or "EN") as the start-up would, once.
void UseLanguage(const std::string& language);

// Stops every pass, timer, request and pending rebuild, empties the field and the controller's
// state, and hides the result window, as before the first search of a run.
void ResetSearchState();

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Types the word and waits until the search has settled; fails the test when it does not.
    SearchDriver::Result Search(const std::string& word);

    // Types `first` until `reached` holds, then fires the search timer with `second` in the field
    // right there, as a user typing a new word into that moment would, and waits until the search
    // has settled. With `back`, the field goes back to that text right after the abort.
    void InterruptAt(const std::string& first, const std::function<bool()>& reached,
                     const std::string& second, const std::string& back = "");

    ScopedRecordingUI ui_;
    SearchDriver driver_;
    // Every online host points here; by default the services are up and know no word.
    LocalHTTPServer services_;
};

}  // namespace searchtest
