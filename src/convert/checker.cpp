#include "convert/checker.h"

#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "config/emotionmap.h"
#include "config/presentation.h"
#include "convert/animationnames.h"
#include "convert/outputfolder.h"
#include "convert/position.h"
#include "convert/sourcepage.h"
#include "convert/treeindex.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/deferredmessages.h"
#include "platform/files.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

// From this many pages on, the second half is checked on a thread of its
// own: a page takes about half a microsecond, starting a thread some tens.
constexpr std::size_t kPagesForTwoThreads = 1000;

// The screen that the pages are made for.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

constexpr pf::Template<pf::Text, pf::Text> kUnlistedEmotionSpeech =
    "The emotion map lists no emotion \"%s\" for the character %s: this speech is not spoken";
constexpr pf::Template<pf::Text, pf::Text> kUnlistedEmotionMove =
    "The emotion map lists no emotion \"%s\" for the character %s: this move is not made";
constexpr pf::Template<pf::Text> kUnknownAnimation =
    "The character does not know the animation \"%s\": it plays a neutral gesture instead";
constexpr pf::Template<pf::Text> kUnknownSpot =
    "No spot has the id \"%s\": the position of x, y and area is used instead";
constexpr pf::Template<pf::Text> kJumpToNothing = "The jump goes to \"%s\", which names nothing";
constexpr pf::Template<pf::Text, pf::Text> kJumpToNoPage =
    "The jump goes to \"%s\", which is a %s tag, not a page";
constexpr pf::Template<pf::Text> kDuplicateWord =
    "The word \"%s\" is listened for twice on this page";
constexpr pf::Template<pf::Text> kMissingSourcePage =
    "The source page %s does not exist: this page cannot be converted";
constexpr pf::Template<pf::Number, pf::Number> kOffScreen =
    "The position %d,%d is off the 800x600 screen";

// Whether source pages exist: one listing per folder rather than a lookup
// of the path per page.
class SourcePages {
public:
    bool exists(const std::string& path)
    {
        const Listed found = find(path);
        return found.listed ? found.entry != nullptr : pf::isRegularFile(path);
    }
    // Whether the listing shows a regular file that is no link (one whose
    // place is where its path says, so it cannot lead anywhere else).
    bool isPlainFile(std::string_view path)
    {
        const Listed found = find(path);
        return found.entry != nullptr && !*found.entry;
    }

    using Listing = std::optional<pf::RegularFiles>;

    // The folder (as folderOf names it) listed beforehand, with its listing,
    // which stays the caller's: the walkers of two threads share it.
    void prime(const std::string& folder, const Listing* listing)
    {
        m_primedFolder = folder;
        m_primed = listing;
    }

    // The folder part of a path, ending with "/", as the listings are kept.
    static std::string_view folderOf(std::string_view path)
    {
        const std::size_t slash = path.rfind('/');
        return slash == std::string_view::npos ? std::string_view("./") : path.substr(0, slash + 1);
    }

private:
    struct Listed {
        bool listed;
        const bool* entry; // whether it is a link; null when not listed
    };

    // The pages of a presentation mostly lie in one folder: the listing of
    // the last folder asked about is kept at hand.
    Listed find(std::string_view path)
    {
        const std::string_view folder = folderOf(path);
        const std::string_view name = path.substr(path.rfind('/') + 1);
        if (m_last == nullptr || folder != m_lastFolder) {
            if (m_primed != nullptr && folder == m_primedFolder) {
                m_lastFolder = m_primedFolder;
                m_last = m_primed;
            } else {
                auto listed = m_folders.find(folder);
                if (listed == m_folders.end()) {
                    const std::string key(folder);
                    listed = m_folders.emplace(key, pf::listRegularFiles(key)).first;
                }
                m_lastFolder = listed->first;
                m_last = &listed->second;
            }
        }
        if (!*m_last) {
            return {false, nullptr};
        }
        return {true, name.empty() ? nullptr : (*m_last)->find(name)};
    }

    std::string m_primedFolder;
    const Listing* m_primed = nullptr;
    // The folders listed here.
    std::unordered_map<std::string, Listing, pf::NameHash, std::equal_to<>> m_folders;
    // A view of the primed folder or of the key of m_folders that m_last
    // belongs to.
    std::string_view m_lastFolder;
    const Listing* m_last = nullptr;
};

// The names of the tags and attributes that the walk looks at, as interned:
// every node's name and every attribute's name is an interned one, so two
// names are the same exactly when their addresses are, and the walk compares
// addresses only.
struct CheckedNames {
    const std::string* emotion = &markup::TagNode::internName("emotion");
    const std::string* speak = &markup::TagNode::internName("speak");
    const std::string* move = &markup::TagNode::internName("move");
    const std::string* play = &markup::TagNode::internName("play");
    const std::string* jump = &markup::TagNode::internName("jump");
    const std::string* word = &markup::TagNode::internName("word");
    const std::string* page = &markup::TagNode::internName("page");
    const std::string* spotTag = &markup::TagNode::internName("spot");
    markup::TagNode::AttributeKey spot{"spot"};
    markup::TagNode::AttributeKey x{"x"};
    markup::TagNode::AttributeKey y{"y"};
    markup::TagNode::AttributeKey area{"area"};
    markup::TagNode::AttributeKey type{"type"};
    markup::TagNode::AttributeKey act{"act"};
    markup::TagNode::AttributeKey des{"des"};
    markup::TagNode::AttributeKey ref{"ref"};
    markup::TagNode::AttributeKey wordText{"word"};
};

// The value of an attribute, empty when it is absent.
std::string_view valueOf(const std::string_view* value)
{
    return value == nullptr ? std::string_view() : *value;
}

struct Walker {
    const markup::SourceFile& source;
    const TreeIndex& index;
    const config::CharacterEmotions* emotions;
    const std::string& character;
    const AnimationNames* animations;
    pf::Messages& messages;
    SourcePages sourcePages{};
    CheckedNames names{};
    // Kept from page to page, so that the walk allocates only while these
    // grow: the stack of the page's tags, each with its innermost emotion,
    // the words listened for on the page, and the texts looked up by string.
    std::vector<std::pair<const markup::TagNode*, const markup::TagNode*>> stack{};
    std::unordered_set<std::string> words{};
    std::string sourcePage{};
    std::string emotionType{};
    // The last emotion found listed: its speeches and moves are not looked
    // up again.
    const markup::TagNode* listedEmotion = nullptr;
    // Whether the character knows an animation, by the text of the act: a
    // presentation plays the same few animations again and again.
    std::unordered_map<std::string, bool, pf::NameHash, std::equal_to<>> knownAnimations{};

    void warn(const markup::TagNode& tag, const char* id, std::string text, std::string caption)
    {
        messages.report(markup::tagMessage(&source, tag, id, std::move(text), std::move(caption),
                                           pf::Message::Severity::Warning));
    }

    // The spot of a page or move, and where it puts the character.
    void checkPosition(const markup::TagNode& tag)
    {
        const std::string_view* spot = tag.attribute(names.spot);
        if (spot != nullptr && !spot->empty()) {
            const markup::TagNode* target = index.findById(*spot);
            if (target == nullptr || &target->name() != names.spotTag) {
                warn(tag, pf::ids::kUnknownSpot, pf::fillTemplate(kUnknownSpot, *spot),
                     std::string(*spot));
            }
        }
        // Without any of these the character stays at 0,0, on the screen.
        if (spot == nullptr && tag.attribute(names.x) == nullptr &&
            tag.attribute(names.y) == nullptr && tag.attribute(names.area) == nullptr) {
            return;
        }
        const Position position = resolvePosition(tag, index);
        if (position.x < 0 || position.y < 0 || position.x >= kScreenWidth ||
            position.y >= kScreenHeight) {
            warn(tag, pf::ids::kOffScreen, pf::fillTemplate(kOffScreen, position.x, position.y),
                 tag.name());
        }
    }

    // A speech or move inside `emotion` is left out when the character's set
    // has no such emotion. Without a set the conversion reports the
    // character itself.
    void checkEmotion(const markup::TagNode& action, const markup::TagNode* emotion)
    {
        if (emotion == nullptr || emotions == nullptr || emotion == listedEmotion) {
            return;
        }
        emotionType.assign(valueOf(emotion->attribute(names.type)));
        if (emotions->lookup(emotionType) != nullptr) {
            listedEmotion = emotion;
            return;
        }
        const bool speech = &action.name() == names.speak;
        warn(action, pf::ids::kUnlistedEmotion,
             pf::fillTemplate(speech ? kUnlistedEmotionSpeech : kUnlistedEmotionMove, emotionType,
                              character),
             emotionType);
    }

    void checkJump(const markup::TagNode& jump)
    {
        const std::string_view destination = valueOf(jump.attribute(names.des));
        const markup::TagNode* target = index.findById(destination);
        if (target == nullptr) {
            warn(jump, pf::ids::kJumpNotAPage, pf::fillTemplate(kJumpToNothing, destination),
                 std::string(destination));
        } else if (&target->name() != names.page) {
            warn(jump, pf::ids::kJumpNotAPage,
                 pf::fillTemplate(kJumpToNoPage, destination, target->name()),
                 std::string(destination));
        }
    }

    bool knowsAnimation(std::string_view act)
    {
        const auto known = knownAnimations.find(act);
        if (known != knownAnimations.end()) {
            return known->second;
        }
        return knownAnimations.emplace(act, animations->knows(act)).first->second;
    }

    void checkWord(const markup::TagNode& node)
    {
        const std::string_view word = valueOf(node.attribute(names.wordText));
        if (!words.insert(pf::toLower(word)).second) {
            warn(node, pf::ids::kDuplicateCommandWord, pf::fillTemplate(kDuplicateWord, word),
                 std::string(word));
        }
    }

    void checkPage(const markup::TagNode& page, const std::string& markupFolder)
    {
        const std::string_view written = valueOf(page.attribute(names.ref));
        // Most refs hold no backslash at all, and then none is to be
        // replaced.
        sourcePage.assign(markupFolder);
        if (written.find('\\') == std::string_view::npos) {
            sourcePage.append(written);
        } else {
            sourcePage.append(pf::replaceAll(written, "\\", "/"));
        }
        const std::string_view ref = std::string_view(sourcePage).substr(markupFolder.size());
        // A file of the markup folder itself that is no link is inside the
        // folder and exists: the folder's listing answers both questions.
        const bool plainFileHere =
            ref.find('/') == std::string_view::npos && sourcePages.isPlainFile(sourcePage);
        if (!plainFileHere && leavesMarkupFolder(markupFolder, sourcePage)) {
            warn(page, pf::ids::kSourcePageOutside, outsideSourcePageText(std::string(written)),
                 std::string(written));
        } else if (!plainFileHere && !sourcePages.exists(sourcePage)) {
            warn(page, pf::ids::kMissingSourcePage,
                 pf::fillTemplate(kMissingSourcePage, sourcePage), std::string(written));
        }
        checkPosition(page);

        // The page's tags in document order, each with its innermost emotion.
        // A fresh set rather than a cleared one: clearing would wipe every
        // bucket that the wordiest page so far made, on every page.
        if (!words.empty()) {
            words = std::unordered_set<std::string>();
        }
        stack.clear();
        pushChildren(page, nullptr);
        while (!stack.empty()) {
            const auto [node, outer] = stack.back();
            stack.pop_back();
            const std::string* name = &node->name();
            const markup::TagNode* emotion = name == names.emotion ? node : outer;
            // Text and emotions have nothing of their own to check.
            if (name == names.speak) {
                checkEmotion(*node, emotion);
            } else if (name == names.move) {
                checkEmotion(*node, emotion);
                checkPosition(*node);
            } else if (name == names.play) {
                const std::string_view act = valueOf(node->attribute(names.act));
                if (animations != nullptr && !animations->empty() && !knowsAnimation(act)) {
                    warn(*node, pf::ids::kUnknownAnimation,
                         pf::fillTemplate(kUnknownAnimation, act), std::string(act));
                }
            } else if (name == names.jump) {
                checkJump(*node);
            } else if (name == names.word) {
                checkWord(*node);
            }
            pushChildren(*node, emotion);
        }
    }

    void pushChildren(const markup::TagNode& node, const markup::TagNode* emotion)
    {
        if (const markup::TagNode::Children* children = node.getChildren()) {
            for (auto child = children->rbegin(); child != children->rend(); ++child) {
                stack.emplace_back(child->get(), emotion);
            }
        }
    }
};

} // namespace

MarkupFolderListing::MarkupFolderListing(std::string_view markupPath)
    : m_folder(SourcePages::folderOf(markupFolderOf(markupPath) + "page"))
{
    m_listing = std::async(std::launch::async,
                           [folder = m_folder] { return pf::listRegularFiles(folder); });
}

MarkupFolderListing::~MarkupFolderListing()
{
    if (m_listing.valid()) {
        m_listing.wait();
    }
}

std::optional<pf::RegularFiles> MarkupFolderListing::take()
{
    return m_listing.valid() ? m_listing.get() : std::nullopt;
}

std::size_t checkPresentation(const config::Presentation& presentation, pf::Messages& messages,
                              const CheckOptions& options)
{
    markup::TagNode* root = presentation.getRoot();
    const markup::TagNode* body = presentation.findTag("body");
    const markup::TagNode::Children* pages = body == nullptr ? nullptr : body->getChildren();
    if (root == nullptr || pages == nullptr) {
        return 0;
    }
    const TreeIndex index(*root, &presentation.source());
    const markup::TagNode* agent = index.agent();
    const std::string character =
        agent == nullptr ? std::string() : agent->getAttribute("character");
    const config::CharacterEmotions* emotions =
        character.empty() ? nullptr : presentation.getEmotionMap().lookup(character);
    const std::string markupFolder = markupFolderOf(presentation.getMarkupPath());
    SourcePages::Listing markupListing;
    if (options.markupFolder != nullptr) {
        markupListing = options.markupFolder->take();
    }
    const auto checkPages = [&](std::size_t from, std::size_t to, pf::Messages& into) {
        Walker walker{presentation.source(), index, emotions, character, options.animations, into};
        if (options.markupFolder != nullptr) {
            walker.sourcePages.prime(options.markupFolder->folder(), &markupListing);
        }
        for (std::size_t i = from; i < to; ++i) {
            walker.checkPage(*(*pages)[i], markupFolder);
        }
    };
    // A long presentation is checked in two halves, the second on a thread
    // of its own; its warnings are held back and shown after the first
    // half's, so that they come in page order as from one walk. The walk
    // only reads the tree, the index, the map and the listing.
    const std::size_t count = pages->size();
    const std::size_t split = count >= kPagesForTwoThreads ? count / 2 : count;
    pf::DeferredMessages secondMessages(messages);
    pf::DeferredMessages::List held;
    secondMessages.holdIn(&held);
    std::future<void> secondHalf;
    if (split < count) {
        secondHalf =
            std::async(std::launch::async, [&] { checkPages(split, count, secondMessages); });
    }
    checkPages(0, split, messages);
    if (secondHalf.valid()) {
        secondHalf.get();
        secondMessages.replay(held);
    }
    return pages->size();
}

} // namespace orvo::convert
