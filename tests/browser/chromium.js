// Drives a headless Chromium over the DevTools protocol, with nothing but
// Node: the browser is started with --remote-debugging-pipe, so that the
// protocol runs over two extra file descriptors (the browser reads commands
// from fd 3 and writes replies and events to fd 4, each message a JSON text
// ended by a NUL byte). No port, no WebSocket, no npm package.
import { spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

// The flags of a quiet, throw-away browser for tests: no sandbox (CI runs as
// root in a container), no GPU, nothing fetched from the network by itself.
function chromiumFlags(profile, width, height) {
    return [
        "--headless",
        "--no-sandbox",
        "--disable-gpu",
        "--disable-dev-shm-usage",
        "--no-first-run",
        "--no-default-browser-check",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--disable-extensions",
        "--mute-audio",
        "--hide-scrollbars",
        `--window-size=${width},${height}`,
        `--user-data-dir=${profile}`,
        "--remote-debugging-pipe",
        "about:blank",
    ];
}

class Browser {
    constructor(child, profile) {
        this.child = child;
        this.profile = profile;
        this.nextId = 1;
        this.pending = new Map();
        this.listeners = new Set();
        this.buffer = Buffer.alloc(0);
        this.closed = false;
        this.stderr = "";
        this.exited = new Promise((resolve) => child.once("exit", resolve));
        child.stderr.on("data", (chunk) => {
            // Kept for the failure message of a browser that dies.
            this.stderr = (this.stderr + chunk.toString()).slice(-4000);
        });
        child.stdio[4].on("data", (chunk) => this.receive(chunk));
        child.once("exit", (code, signal) => {
            this.closed = true;
            const error = new Error(`chromium exited (${signal || code})\n${this.stderr}`);
            for (const { reject } of this.pending.values()) reject(error);
            this.pending.clear();
        });
    }

    receive(chunk) {
        this.buffer = Buffer.concat([this.buffer, chunk]);
        for (let end = this.buffer.indexOf(0); end >= 0; end = this.buffer.indexOf(0)) {
            const message = JSON.parse(this.buffer.subarray(0, end).toString("utf8"));
            this.buffer = this.buffer.subarray(end + 1);
            if (message.id !== undefined) {
                const call = this.pending.get(message.id);
                this.pending.delete(message.id);
                if (call === undefined) continue;
                if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
                else call.resolve(message.result);
            } else {
                for (const listener of [...this.listeners]) listener(message);
            }
        }
    }

    // Sends one command (to a page when sessionId is given) and resolves
    // with its result.
    send(method, params = {}, sessionId = undefined) {
        if (this.closed) return Promise.reject(new Error(`${method}: chromium is gone\n${this.stderr}`));
        const id = this.nextId++;
        const message = { id, method, params };
        if (sessionId !== undefined) message.sessionId = sessionId;
        return new Promise((resolve, reject) => {
            this.pending.set(id, { resolve, reject, method });
            this.child.stdio[3].write(`${JSON.stringify(message)}\0`);
        });
    }

    // Calls listener(message) for every event until the returned function
    // is called.
    listen(listener) {
        this.listeners.add(listener);
        return () => this.listeners.delete(listener);
    }

    // A new tab of its own (its own session storage), attached; its events
    // carry the returned session id.
    async openTab(width, height) {
        const { targetId } = await this.send("Target.createTarget", { url: "about:blank" });
        const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
        const tab = new Tab(this, targetId, sessionId);
        await tab.send("Page.enable");
        await tab.send("Runtime.enable");
        await tab.send("Emulation.setDeviceMetricsOverride", { width, height, deviceScaleFactor: 1, mobile: false });
        return tab;
    }

    async close() {
        if (!this.closed) {
            this.send("Browser.close").catch(() => {});
            const timer = setTimeout(() => this.child.kill("SIGKILL"), 5000);
            await this.exited;
            clearTimeout(timer);
        }
        fs.rmSync(this.profile, { recursive: true, force: true });
    }
}

// One tab: commands go to its session, and it records what the page threw
// or showed as a dialog.
class Tab {
    constructor(browser, targetId, sessionId) {
        this.browser = browser;
        this.targetId = targetId;
        this.sessionId = sessionId;
        this.exceptions = [];
        this.dialogs = [];
        this.stopListening = browser.listen((message) => {
            if (message.sessionId !== sessionId) return;
            if (message.method === "Runtime.exceptionThrown") {
                const details = message.params.exceptionDetails;
                this.exceptions.push(details.exception ? details.exception.description : details.text);
            } else if (message.method === "Page.javascriptDialogOpening") {
                this.dialogs.push({ type: message.params.type, message: message.params.message });
                this.send("Page.handleJavaScriptDialog", { accept: true }).catch(() => {});
            }
        });
    }

    send(method, params = {}) {
        return this.browser.send(method, params, this.sessionId);
    }

    navigate(url) {
        return this.send("Page.navigate", { url });
    }

    // The value of an expression in the page (awaited when it is a
    // promise). Throws when the expression throws.
    async evaluate(expression) {
        const reply = await this.send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
        if (reply.exceptionDetails) {
            const details = reply.exceptionDetails;
            throw new Error(`${expression}: ${details.exception ? details.exception.description : details.text}`);
        }
        return reply.result.value;
    }

    // Evaluates the expression every few milliseconds until it yields a
    // truthy value, and returns that value. While the tab is between two
    // pages there is no page to ask; that counts as "not yet".
    async waitFor(expression, what, timeoutMs = 30000) {
        const deadline = Date.now() + timeoutMs;
        let lastError = null;
        for (;;) {
            try {
                const value = await this.evaluate(expression);
                if (value) return value;
                lastError = null;
            } catch (error) {
                lastError = error;
            }
            if (Date.now() > deadline) {
                throw new Error(`timed out waiting for ${what}${lastError ? `: ${lastError.message}` : ""}`);
            }
            await new Promise((resolve) => setTimeout(resolve, 25));
        }
    }

    // A real mouse click (pressed and released) at a point of the viewport.
    async click(x, y) {
        for (const type of ["mouseMoved", "mousePressed", "mouseReleased"]) {
            await this.send("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
        }
    }

    // A drag with the left button, from one point of the viewport to
    // another, in a few steps.
    async drag(fromX, fromY, toX, toY, steps = 5) {
        const mouse = (type, x, y, buttons) =>
            this.send("Input.dispatchMouseEvent", { type, x, y, button: "left", buttons, clickCount: 1 });
        await mouse("mouseMoved", fromX, fromY, 0);
        await mouse("mousePressed", fromX, fromY, 1);
        for (let i = 1; i <= steps; ++i) {
            await mouse("mouseMoved", fromX + ((toX - fromX) * i) / steps, fromY + ((toY - fromY) * i) / steps, 1);
        }
        await mouse("mouseReleased", toX, toY, 0);
    }

    async screenshot(file) {
        const { data } = await this.send("Page.captureScreenshot", { format: "png" });
        fs.mkdirSync(path.dirname(file), { recursive: true });
        fs.writeFileSync(file, Buffer.from(data, "base64"));
    }

    async close() {
        this.stopListening();
        await this.browser.send("Target.closeTarget", { targetId: this.targetId }).catch(() => {});
    }
}

// Starts Chromium (the program named by `executable`) with a fresh profile
// and waits until it answers.
export async function launchChromium({ executable, width = 800, height = 600 }) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "orvo-chromium-"));
    const child = spawn(executable, chromiumFlags(profile, width, height), {
        stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"],
    });
    const browser = new Browser(child, profile);
    await new Promise((resolve, reject) => {
        child.once("error", reject);
        browser.send("Browser.getVersion").then(resolve, reject);
    });
    return browser;
}
