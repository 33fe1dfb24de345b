#include "convert/convertsupport.h"

#include "markup/markupreader.h"
#include "markup/tagparser.h"
#include "markup/tagtypetable.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orvo::test {

namespace {

const markup::TagTypeTable& tagTypes()
{
    static const std::unique_ptr<markup::TagTypeTable> table = [] {
        auto loaded = std::make_unique<markup::TagTypeTable>();
        loaded->setFileName(goldenPath("tags.txt"));
        platform::RecordingMessages ignored;
        EXPECT_TRUE(loaded->load(ignored));
        return loaded;
    }();
    return *table;
}

void finish(LoadedPresentation& loaded)
{
    loaded.emotions.setFileName(goldenPath("emotions.txt"));
    EXPECT_TRUE(loaded.emotions.load(loaded.messages));
    EXPECT_TRUE(markup::parseContent(*loaded.root, tagTypes(), loaded.messages));
    EXPECT_EQ(loaded.messages.count(), 0U);
    markup::TagNode* body = loaded.root->findByName("body");
    ASSERT_NE(body, nullptr);
    ASSERT_NE(body->getChildren(), nullptr);
    int number = 0;
    for (const auto& page : *body->getChildren()) {
        page->setAttribute("realpagename", std::to_string(++number) + ".html");
        loaded.pages.push_back(page.get());
    }
}

} // namespace

std::string goldenPath(std::string_view relative)
{
    return std::string(ORVO_CONVERT_GOLDEN_DIR) + std::string(relative);
}

std::string crlf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::unique_ptr<LoadedPresentation> loadPresentation(const std::string& markupPath)
{
    auto loaded = std::make_unique<LoadedPresentation>();
    loaded->root = markup::readMarkup(markupPath, loaded->messages);
    EXPECT_NE(loaded->root, nullptr) << markupPath;
    if (loaded->root) {
        finish(*loaded);
    }
    return loaded;
}

std::unique_ptr<LoadedPresentation> parsePresentation(const std::string& body)
{
    auto loaded = std::make_unique<LoadedPresentation>();
    loaded->root = std::make_unique<markup::TagNode>("orvo", 1, body, nullptr);
    finish(*loaded);
    return loaded;
}

markup::TagNode& addChild(markup::TagNode& parent, const std::string& name,
                          const std::map<std::string, std::string>& attributes,
                          const std::string& text)
{
    auto child = std::make_unique<markup::TagNode>(name, 2, std::string(), &parent);
    for (const auto& [key, value] : attributes) {
        child->setAttribute(key, value);
    }
    if (!text.empty()) {
        child->setText(text);
    }
    return parent.appendChild(std::move(child));
}

} // namespace orvo::test
