// The bundled tour, converted with `orvo convert --with-player` and played
// from disk in headless Chromium on a fast clock: what the recorded trace
// says the character did, page after page, with real clicks on its commands.
// Also a page whose character cannot be loaded, and a picture of the listen
// page with the character, its balloon and its commands.
//
// Set by CTest (tests/browser/CMakeLists.txt), or by hand:
//   ORVO_PROGRAM        the orvo program to convert with
//   ORVO_PLAYER_BUNDLE  the bundle that the build made (the export must hold it)
//   ORVO_CHROMIUM       the browser (default /usr/bin/chromium)
//   ORVO_SCREENSHOT     where the picture goes (default: a temporary folder)

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import test from "node:test";
import { pathToFileURL } from "node:url";
import { launchChromium } from "./chromium.js";

const REPO = path.resolve(import.meta.dirname, "..", "..");
const WIDTH = 800;
const HEIGHT = 600;
// Twenty times faster than real time: the tour's pages take one or two
// seconds each. The picture is taken at twice the real pace, so that the
// balloon stays long enough to be caught.
const FAST = "orvo-clock-rate=20&orvo-voice=false";
const PICTURE = "orvo-clock-rate=2&orvo-voice=false";
const PLAYER_LINE = '<script src="orvo-player.js" charset="utf-8"></script>\r\n';

function required(name) {
    const value = process.env[name];
    assert.ok(value, `${name} must name the file to test with`);
    return path.resolve(value);
}

// Converts a copy of a presentation's folder as a user would, with its own
// settings file and cache; returns the output folder.
function convertWithPlayer(orvo, folder, presentation, args = []) {
    const work = fs.mkdtempSync(path.join(os.tmpdir(), "orvo-browser-"));
    const name = path.basename(folder);
    fs.cpSync(folder, path.join(work, name), { recursive: true });
    fs.mkdirSync(path.join(work, "cache"));
    const settings = path.join(work, "ViewOrvo.ini");
    fs.writeFileSync(
        settings,
        [
            "tagTypeFile=tagtypes.txt",
            "emotionMapFile=emotionmap.txt",
            "previousImage=previous.gif",
            "nextImage=next.gif",
            "debugFrameFile=DebugFrame.html",
            `settingDir=${path.join(REPO, "data")}/`,
            `tempDir=${path.join(work, "cache")}/`,
            "workingDir=vieworvo-pages/",
            "",
        ].join("\n"),
    );
    execFileSync(
        orvo,
        ["convert", "--with-player", "--quiet", ...args, "--settings", settings, `${name}/${presentation}`],
        { cwd: work, stdio: ["ignore", "pipe", "pipe"] },
    );
    return { work, pages: path.join(work, name, "vieworvo-pages") };
}

const convertTour = (orvo) => convertWithPlayer(orvo, path.join(REPO, "examples", "tour"), "tour.orv");

const pageUrl = (folder, name, fragment) => `${pathToFileURL(path.join(folder, name)).href}#${fragment}`;

// The trace of a tab's pages, cut into one list of events per page.
function byPage(trace) {
    const pages = [];
    for (const event of trace) {
        if (event.type === "page") pages.push({ name: path.basename(new URL(event.url).pathname), events: [] });
        else if (pages.length > 0) pages[pages.length - 1].events.push(event);
    }
    return pages;
}

const REQUEST_STARTS = ["play", "speak", "think", "move", "show", "hide"];
const requestsOf = (events) => events.filter((e) => REQUEST_STARTS.includes(e.type));
const indexOf = (events, predicate, from = 0) => {
    const i = events.findIndex((e, n) => n >= from && predicate(e));
    assert.ok(i >= 0, `no event after #${from} in ${JSON.stringify(events.slice(from), null, 0).slice(0, 2000)}`);
    return i;
};
const callOf = (name) => (e) => e.type === "call" && e.name === name;

// Asserts that the page ends as the generated script makes it end: its last
// request (EndRequest or a jump's request) completes, the timer runs `sub`
// half a second later, and `sub` sends the page to `target`.
function assertEndsGoingTo(page, sub, target) {
    const { events } = page;
    const last = requestsOf(events).at(-1);
    assert.deepEqual([last.type, last.name], ["play", "RestPose"], `${page.name}: the closing request`);
    const done = indexOf(events, (e) => e.type === "complete" && e.request === last.request);
    assert.equal(events[done].status, 0);
    const timer = indexOf(events, (e) => e.type === "timer", done);
    assert.equal(events[timer].code, sub, `${page.name}: the timer after the closing request`);
    assert.ok(events[timer].t - events[done].t >= 450, `${page.name}: ${sub} comes half a second later`);
    const navigate = indexOf(events, (e) => e.type === "navigate", timer);
    assert.equal(events[navigate].href, target);
    assert.ok(events.slice(timer).some(callOf(sub)));
}

// What the stage shows, read from its shadow tree: the character's place on
// the 800x600 screen and its box in the viewport, the balloon's words (when
// every one of them is shown) and the command buttons.
const STAGE = `(() => {
    const stage = document.getElementById("orvo-player-stage");
    const root = stage && stage.shadowRoot;
    if (!root) return null;
    const character = root.querySelector(".character");
    const balloon = root.querySelector(".balloon");
    const box = (element) => {
        if (!element) return null;
        const r = element.getBoundingClientRect();
        return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
    };
    const words = balloon ? [...balloon.querySelectorAll(".w")] : [];
    return {
        character: character && {
            x: Number(character.dataset.x), y: Number(character.dataset.y),
            shown: getComputedStyle(character).display !== "none", box: box(character),
        },
        balloon: words.length > 0 && words.every((w) => w.classList.contains("on"))
            ? { text: words.map((w) => w.textContent).join(" "), box: box(balloon) } : null,
        buttons: [...root.querySelectorAll("button[data-command]")].map((b) => ({
            name: b.dataset.command, caption: b.textContent, box: box(b),
        })),
        message: root.querySelector(".message") ? root.querySelector(".message").textContent : null,
    };
})()`;

const inViewport = (box) => box.left >= 0 && box.top >= 0 && box.right <= WIDTH && box.bottom <= HEIGHT;

// The trace of the tab so far, once `condition` holds: an expression over
// the list of events `t`, the page's file name `page`, the events of this
// page `here`, and `settled(sub)`, true once the page's sub `sub` has run
// and every request it made has completed. (Requests start only after the
// call that made them has returned, and the next of a queue starts as the
// previous completes: so the requests are done when one has completed
// since the call and none is running.)
function traceWhen(tab, condition, what) {
    return tab.waitFor(
        `(() => {
        if (!window.OrvoPlayer || !OrvoPlayer.trace) return null;
        const t = OrvoPlayer.trace();
        const page = location.pathname.split("/").pop();
        const here = t.slice(t.map((e) => e.type).lastIndexOf("page"));
        // Before the document is parsed, the trace holds the earlier pages only.
        if (here.length === 0 || here[0].url !== location.href) return null;
        const starts = ${JSON.stringify(REQUEST_STARTS)};
        const idle = here.filter((e) => starts.includes(e.type))
            .every((s) => here.some((e) => e.type === "complete" && e.request === s.request));
        const settled = (sub) => {
            const call = here.findIndex((e) => e.type === "call" && e.name === sub);
            return idle && call >= 0 && here.slice(call).some((e) => e.type === "complete");
        };
        return (${condition}) ? t : null;
    })()`,
        what,
    );
}

async function clickCommand(tab, name) {
    const stage = await tab.evaluate(STAGE);
    const button = stage.buttons.find((b) => b.name === name);
    assert.ok(button && inViewport(button.box), `${name} is a button in sight`);
    await tab.click((button.box.left + button.box.right) / 2, (button.box.top + button.box.bottom) / 2);
}

test("the converted tour plays in Chromium", { timeout: 280000 }, async (t) => {
    const orvo = required("ORVO_PROGRAM");
    const bundle = required("ORVO_PLAYER_BUNDLE");
    const chromium = process.env.ORVO_CHROMIUM || "/usr/bin/chromium";
    fs.accessSync(chromium, fs.constants.X_OK);
    const { work, pages } = convertTour(orvo);
    const browser = await launchChromium({ executable: chromium, width: WIDTH, height: HEIGHT });
    t.after(async () => {
        await browser.close();
        fs.rmSync(work, { recursive: true, force: true });
    });

    await t.test("the export holds the build's runtime, loaded by every page", () => {
        assert.ok(fs.readFileSync(path.join(pages, "orvo-player.js")).equals(fs.readFileSync(bundle)));
        for (let i = 1; i <= 7; ++i) {
            const html = fs.readFileSync(path.join(pages, `${i}.html`), "latin1");
            assert.equal(html.split(PLAYER_LINE).length, 2, `${i}.html loads the runtime once`);
            assert.ok(html.includes(`</SCRIPT>\r\n${PLAYER_LINE}</head>`), `${i}.html: behind the script block`);
        }
    });

    await t.test("from page 1 to the listen page, a command, and a jump to the last page", async () => {
        const tab = await browser.openTab(WIDTH, HEIGHT);
        await tab.navigate(pageUrl(pages, "1.html", `${FAST}&orvo-trace=session`));
        // The commands are there as soon as Step0 runs; the click comes once
        // the character has said its part.
        let trace = await traceWhen(tab, `page === "6.html" && settled("Step0")`, "the listen page, done speaking");
        let visited = byPage(trace);
        assert.deepEqual(
            visited.map((p) => p.name),
            ["1.html", "2.html", "3.html", "4.html", "5.html", "6.html"],
        );

        // Page 1: the character loads, is placed at the page's position and
        // shown; after the begin request, Step0; its first speech is in the
        // balloon without the speech tags; EndRequest leads to NextPage.
        const first = visited[0].events;
        const load = first.find((e) => e.type === "load");
        assert.deepEqual([load.character, load.ok], ["Orvi", true]);
        const [place, show, begin] = requestsOf(first);
        assert.deepEqual([place.type, place.x, place.y], ["move", 40, 220]);
        assert.equal(show.type, "show");
        assert.deepEqual([begin.type, begin.name], ["play", "RestPose"]);
        const step0 = indexOf(first, callOf("Step0"));
        assert.ok(step0 > indexOf(first, (e) => e.type === "complete" && e.request === begin.request));
        assert.equal(
            first.find((e) => e.type === "balloon").text,
            "Hello! I am Orvi, and this is a short tour of ViewOrvo.",
        );
        assertEndsGoingTo(visited[0], "NextPage", "2.html");
        for (let i = 1; i <= 4; ++i) assertEndsGoingTo(visited[i], "NextPage", `${i + 2}.html`);

        // Page 6 listens: its commands with their captions, as buttons
        // beside the character, which stands at the page's area.
        const listen = visited[5].events;
        assert.deepEqual(
            listen.filter((e) => e.type === "command-add").map((e) => [e.name, e.caption, e.voice]),
            [
                ["VoiceCommand1", "pages", "pages"],
                ["VoiceCommand2", "emotions", "emotions"],
                ["VoiceCommand3", "goodbye", "goodbye"],
            ],
        );
        assert.equal(
            listen.some((e) => e.type === "navigate"),
            false,
            "a listen page waits",
        );
        const stage = await tab.evaluate(STAGE);
        assert.deepEqual(
            stage.buttons.map((b) => b.caption),
            ["pages", "emotions", "goodbye"],
        );
        assert.deepEqual([stage.character.x, stage.character.y, stage.character.shown], [600, 210, true]);
        assert.ok(inViewport(stage.character.box), "the character is in sight");

        // A click on "pages" runs its response step, and the page stays.
        await clickCommand(tab, "VoiceCommand1");
        trace = await traceWhen(tab, `settled("Step1")`, "the response to pages");
        let events = byPage(trace)[5].events;
        const picked = indexOf(events, (e) => e.type === "command");
        assert.equal(events[picked].name, "VoiceCommand1");
        const step1 = indexOf(events, callOf("Step1"), picked);
        assert.deepEqual(
            requestsOf(events.slice(step1)).map((e) => e.name || e.type),
            ["Explain", "speak", "RestPose"],
        );
        assert.equal(
            events.slice(step1).find((e) => e.type === "balloon").text,
            "Every page of a presentation is an HTML page of its own, with my script added to it.",
        );

        // "goodbye" jumps: its jump request completes and the page goes to
        // the last page, where the tour ends without going on.
        await clickCommand(tab, "VoiceCommand3");
        trace = await traceWhen(
            tab,
            `page === "7.html" && here.some((e) => e.type === "call" && e.name === "NextPage")`,
            "the end of the last page",
        );
        visited = byPage(trace);
        assert.deepEqual(visited.map((p) => p.name).slice(5), ["6.html", "7.html"]);
        events = visited[5].events;
        const goodbye = indexOf(events, (e) => e.type === "command" && e.name === "VoiceCommand3");
        const step3 = indexOf(events, callOf("Step3"), goodbye);
        assert.equal(
            events.slice(step3).find((e) => e.type === "balloon").text,
            "Leaving already? Then let us go to the last page.",
        );
        assertEndsGoingTo({ name: "6.html", events: events.slice(step3) }, "JumpFuntion4", "7.html");
        const last = visited[6].events;
        const [lastPlace] = requestsOf(last);
        assert.deepEqual([lastPlace.type, lastPlace.x, lastPlace.y], ["move", 0, 360]);
        assert.equal(last.find((e) => e.type === "balloon").text, "That was the tour. Thank you for watching!");
        assert.equal(
            last.some((e) => e.type === "navigate"),
            false,
            "the last page stays",
        );

        assert.deepEqual(
            trace.filter((e) => e.type === "script-error" || e.type === "alert"),
            [],
        );
        assert.deepEqual(tab.exceptions, []);
        assert.deepEqual(tab.dialogs, []);
        await tab.close();
    });

    await t.test("a page whose character is not installed shows its alert and the runtime goes on", async () => {
        const tab = await browser.openTab(WIDTH, HEIGHT);
        // orvo-characters= (no names): no character loads, as on a machine
        // without one.
        await tab.navigate(pageUrl(pages, "7.html", `${FAST}&orvo-trace=true&orvo-characters=`));
        const trace = await traceWhen(tab, `t.some((e) => e.type === "script-error")`, "the page's load handler");
        assert.deepEqual(tab.dialogs, [{ type: "alert", message: "No character installed" }]);
        const page = byPage(trace)[0].events;
        assert.deepEqual(
            page
                .filter((e) => ["call", "load", "alert", "script-error"].includes(e.type))
                .map((e) => [e.type, e.name || e.character || e.text || e.where]),
            [
                ["call", "Window_OnLoad"],
                ["call", "LoadCharacter"],
                ["load", "Orvi"],
                ["alert", "No character installed"],
                // The handler's next line plays on the character that is not
                // there: an error of the page's script, reported and contained.
                ["script-error", "Window_OnLoad"],
            ],
        );
        assert.equal(page.find((e) => e.type === "load").ok, false);
        assert.deepEqual(requestsOf(page), []);
        // Still alive: the page's text and the runtime answer, nothing was
        // thrown past the runtime, and the page stays where it is.
        assert.deepEqual(tab.exceptions, []);
        const after = await tab.evaluate(`({ title: document.title, events: OrvoPlayer.trace().length,
            page: location.pathname.split("/").pop(), stage: ${STAGE} })`);
        assert.equal(after.title, "ViewOrvo tour: The end");
        assert.equal(after.page, "7.html");
        assert.equal(after.events, trace.length);
        assert.equal(after.stage === null || after.stage.character === null, true, "no character is drawn");
        await tab.close();
    });

    await t.test("a Shift-JIS presentation plays from disk", async () => {
        // Its pages say charset=Shift_JIS: the runtime must still load as
        // what it is, and the Japanese speech reach the balloon intact.
        const sjis = convertWithPlayer(orvo, path.join(import.meta.dirname, "shift-jis"), "show.orv", [
            "--codepage",
            "shift_jis",
        ]);
        t.after(() => fs.rmSync(sjis.work, { recursive: true, force: true }));
        const tab = await browser.openTab(WIDTH, HEIGHT);
        await tab.navigate(pageUrl(sjis.pages, "1.html", `${FAST}&orvo-trace=session`));
        const trace = await traceWhen(
            tab,
            `page === "2.html" && settled("Step0") && t.some((e) => e.type === "timer")`,
            "the second page, played to its end",
        );
        const visited = byPage(trace);
        assert.deepEqual(
            visited.map((p) => p.name),
            ["1.html", "2.html"],
        );
        assert.deepEqual(
            trace.filter((e) => e.type === "balloon").map((e) => e.text),
            ["「こんにちは！」私はオルヴィです。日本語のページも再生できますか？", "はい、できます。ありがとう！"],
        );
        assert.equal(await tab.evaluate("document.characterSet"), "Shift_JIS");
        assert.equal(await tab.evaluate("document.title"), "おわり");
        assert.deepEqual(
            trace.filter((e) => e.type === "script-error"),
            [],
        );
        assert.deepEqual(tab.exceptions, []);
        await tab.close();
    });

    await t.test(
        "a 150-word speech in each of nine screen areas: character and balloon on screen and apart",
        async () => {
            const folder = fs.mkdtempSync(path.join(os.tmpdir(), "orvo-areas-"));
            const show = path.join(folder, "areas");
            fs.mkdirSync(show);
            const words = Array.from({ length: 150 }, (_, i) =>
                i % 12 === 11 ? "end." : ["the", "agent", "speaks", "a", "long", "balloon", "text"][i % 7],
            ).join(" ");
            const areas = [0, 336, 672].flatMap((x) => [0, 236, 472].map((y) => [x, y]));
            fs.writeFileSync(
                path.join(show, "page.html"),
                "<html>\n<head>\n<title>Areas</title>\n</head>\n<body>\n<h1>A heading the balloon may cover</h1>\n</body>\n</html>\n",
            );
            fs.writeFileSync(
                path.join(show, "areas.orv"),
                [
                    "<orvo>",
                    '<agent character="Orvi"/>',
                    "<body>",
                    ...areas.map(
                        ([x, y]) => `<page ref="page.html" x="${x}" y="${y}">\n<speak>${words}</speak>\n</page>`,
                    ),
                    "</body>",
                    "</orvo>",
                    "",
                ].join("\n"),
            );
            const converted = convertWithPlayer(orvo, show, "areas.orv");
            t.after(() => {
                fs.rmSync(folder, { recursive: true, force: true });
                fs.rmSync(converted.work, { recursive: true, force: true });
            });
            const tab = await browser.openTab(WIDTH, HEIGHT);
            await tab.navigate(
                pageUrl(converted.pages, "1.html", "orvo-clock-rate=40&orvo-voice=false&orvo-trace=session"),
            );
            const trace = await traceWhen(
                tab,
                `page === "9.html" && settled("Step0") && here.some((e) => e.type === "timer")`,
                "the ninth page, spoken to its end",
            );
            const visited = byPage(trace);
            assert.equal(visited.length, 9);
            visited.forEach((page, i) => {
                const [x, y] = areas[i];
                const boxes = page.events.filter((e) => e.type === "balloon-box");
                assert.ok(boxes.length > 0, `${page.name}: the balloon was drawn`);
                assert.ok(boxes.at(-1).pages > 1, `${page.name}: a long speech pages through`);
                const box = (r) => ({ left: r.left, top: r.top, right: r.right, bottom: r.bottom });
                for (const event of boxes) {
                    const { balloon, frame } = event;
                    const where = `${page.name} (${x},${y}), page ${event.page}: ${JSON.stringify(event)}`;
                    assert.ok(inViewport(box(balloon)) && inViewport(box(frame)), `on screen: ${where}`);
                    const apart =
                        balloon.right <= frame.left ||
                        frame.right <= balloon.left ||
                        balloon.bottom <= frame.top ||
                        frame.bottom <= balloon.top;
                    assert.ok(apart, `the balloon does not cover the character: ${where}`);
                }
            });
            assert.deepEqual(
                trace.filter((e) => e.type === "script-error"),
                [],
            );
            assert.deepEqual(tab.exceptions, []);
            await tab.close();
        },
    );

    await t.test("agent pages in JScript and VBScript play to their end; a failing handler is contained", async () => {
        const folder = fs.mkdtempSync(path.join(os.tmpdir(), "orvo-scripts-"));
        t.after(() => fs.rmSync(folder, { recursive: true, force: true }));
        fs.cpSync(path.join(import.meta.dirname, "agent-scripts"), folder, { recursive: true });
        fs.copyFileSync(bundle, path.join(folder, "orvo-player.js"));
        const play = async (name, until, andThen = async () => {}) => {
            const tab = await browser.openTab(WIDTH, HEIGHT);
            await tab.navigate(pageUrl(folder, name, `${FAST}&orvo-trace=true&orvo-debug=true`));
            const trace = await tab.waitFor(
                `(() => { const t = window.OrvoPlayer && OrvoPlayer.trace && OrvoPlayer.trace();
                    return t && (${until}) ? t : null; })()`,
                `${name} played to its end`,
            );
            const overlay = await tab.evaluate(`(() => {
                const root = document.getElementById("orvo-player-stage").shadowRoot;
                return [...root.querySelectorAll(".script-error")].map((e) => e.textContent);
            })()`);
            const after = await andThen(tab);
            assert.deepEqual(tab.exceptions, [], name);
            await tab.close();
            return { trace, overlay, after };
        };
        const completeOf = (t, type, name) => {
            const start = t.find((e) => e.type === type && (name === undefined || e.name === name));
            return start && t.some((e) => e.type === "complete" && e.request === start.request && e.status === 0);
        };

        // Once it has played, the user takes the character (at 300,200 on the
        // 800x600 screen) by its middle and drops it 136 px further on.
        const jscript = await play(
            "jscript.html",
            `t.filter((e) => e.type === "balloon").length === 2 && t.filter((e) => e.type === "complete").length >= 6`,
            async (tab) => {
                await tab.drag(364, 264, 500, 400);
                return tab.waitFor(
                    `OrvoPlayer.trace().some((e) => e.type === "drag-complete") && OrvoPlayer.trace()`,
                    "the drag",
                );
            },
        );
        const dragged = jscript.after.filter((e) => ["drag-start", "drag-complete", "click"].includes(e.type));
        assert.deepEqual(
            dragged.map((e) => [e.type, e.x, e.y]),
            [
                ["drag-start", 364, 264],
                ["drag-complete", 436, 336],
            ],
        );
        assert.deepEqual(
            jscript.trace.filter((e) => e.type === "balloon").map((e) => e.text),
            ["Hello from a JScript page.", "My first words are done, says say it again."],
        );
        assert.ok(completeOf(jscript.trace, "get") && completeOf(jscript.trace, "play", "Wave"));
        const jsErrors = jscript.trace.filter((e) => e.type === "script-error");
        assert.deepEqual(
            jsErrors.map((e) => [e.where, e.description]),
            [["AgentCtl.Show", "a handler that fails when Genie shows"]],
        );
        assert.equal(jscript.overlay.length, 1);
        assert.match(jscript.overlay[0], /AgentCtl\.Show.*a handler that fails when Genie shows/);

        const vbscript = await play(
            "vbscript.html",
            `t.some((e) => e.type === "play" && e.name === "Pleased") &&
            t.filter((e) => e.type === "complete").length >= 8`,
        );
        assert.deepEqual(
            vbscript.trace.filter((e) => e.type === "balloon").map((e) => e.text),
            ["One.", "two.", "three.", "You can say goodbye."],
        );
        assert.ok(completeOf(vbscript.trace, "get"));
        assert.deepEqual(
            vbscript.trace.filter((e) => e.type === "script-error").map((e) => [e.where, e.number]),
            [["Agent_Show", 424]],
        );
        assert.equal(vbscript.overlay.length, 1);
    });

    await t.test("a picture of the listen page: the character, its balloon and its commands", async () => {
        const file = process.env.ORVO_SCREENSHOT
            ? path.resolve(process.env.ORVO_SCREENSHOT)
            : path.join(work, "player-listen-page.png");
        // The balloon stays about a second after its last word; on a machine
        // too busy to take the picture in that time, the page plays again,
        // at the real pace.
        let after = null;
        for (const pace of [PICTURE, PICTURE, "orvo-clock-rate=1&orvo-voice=false"]) {
            const tab = await browser.openTab(WIDTH, HEIGHT);
            await tab.navigate(pageUrl(pages, "6.html", `${pace}&orvo-trace=true`));
            await tab.waitFor(
                `(() => {
                const stage = ${STAGE};
                return stage && stage.balloon && stage.buttons.length === 3;
            })()`,
                "the whole first sentence in the balloon",
            );
            await tab.screenshot(file);
            // Still there after the picture: so it is in the picture.
            after = await tab.evaluate(STAGE);
            await tab.close();
            if (after.balloon !== null) break;
        }
        assert.equal(after.balloon?.text, "Now it is your turn. Say pages, emotions, or goodbye.");
        assert.ok(inViewport(after.balloon.box) && inViewport(after.character.box));
        assert.deepEqual(
            after.buttons.map((b) => b.caption),
            ["pages", "emotions", "goodbye"],
        );
        const png = fs.readFileSync(file);
        assert.equal(png.subarray(1, 4).toString(), "PNG");
        assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [WIDTH, HEIGHT]);
    });
});
