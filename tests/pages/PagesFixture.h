#pragma once
#include "prompts/MessageBoxes.h"
#include "service/RuvasaLib.h"
#include "web/BrowserView.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Records what a render asked of its view, one entry per call.
class RecordingView : public BrowserView {
public:
    std::vector<std::string> calls;
    void navigate(const std::string &url) override { calls.push_back("navigate " + url); }
    void reload() override { calls.push_back("reload"); }
    void runScript(const std::string &script) override { calls.push_back("script " + script); }
};

// One service client for the whole suite (building it lays out the data folder); each test gets a
// fresh page folder, empty reply fields, a recording view and scripted message boxes.
class PagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static std::unique_ptr<TRuvasaLib> shared;
    TRuvasaLib &lib = *shared;
    QTemporaryDir folder;
    RecordingView view;
    ScriptedMessageBoxes boxes;
    ScopedMessageBoxes scope{boxes};

    // Parses `json` into `field`; the test fails on invalid JSON.
    static void setReply(ReplyField &field, const std::string &json);
    // The page file's bytes; empty when it does not exist.
    std::string page(const char *fileName) const;
    std::string pageUrlOf(const char *fileName) const;
    // The texts of the message boxes shown so far.
    std::vector<std::string> shownBoxes() const;
};

// The service base the goldens are written with.
inline constexpr const char *TestServiceBase = "https://lib.example";

// Runs each onClick of `html` against a recording `app`, the attribute decoded as a browser decodes
// it; each call reads "name|arg|arg...". A call that is not valid script fails the test.
QStringList appCallsOf(const std::string &html);

// Fills the reply fields with the small catalogue the golden pages are made from.
void loadSampleCatalogue(TRuvasaLib &lib);

// Compares `actual` with golden/NAME byte for byte. With KELVARA_UPDATE_GOLDEN=1 in the environment
// the golden file is rewritten from `actual` instead (review every rewritten page before committing).
void expectGolden(const std::string &name, const std::string &actual);
