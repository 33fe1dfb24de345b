// Pages whose script is JScript or JavaScript drive the same emulated
// control: the Agent object's id names a JavaScript view of it (so
// `Agent.Characters.Load("Genie", "genie.acs")` and
// `Agent.Characters("Genie").Speak("Hi")` work as they did), and
// `<SCRIPT FOR="Agent" EVENT="RequestComplete(request)">` blocks handle the
// control's events.

import { VB_DEFAULT, VB_NOTHING } from "./vbvalues.js";

const views = new WeakMap(); // host object -> its view
const hosts = new WeakMap(); // view -> its host object

// The host's member for a JavaScript name: the exact name first, then any
// letter case (JScript pages are not always consistent); "_" names stay
// hidden.
function memberName(object, name) {
    if (typeof name !== "string" || name.startsWith("_")) return null;
    if (name in object) return name;
    const key = name.toLowerCase();
    for (let o = object; o !== null && o !== Object.prototype; o = Object.getPrototypeOf(o)) {
        for (const own of Object.getOwnPropertyNames(o)) {
            if (own.toLowerCase() === key && !own.startsWith("_") && own !== "constructor") return own;
        }
    }
    return null;
}

// A host value as a JavaScript page sees it: objects become callable views
// (calling one calls its default member, as `Characters("Genie")` does),
// Nothing becomes null; other values are themselves.
export function jsView(value) {
    if (value === VB_NOTHING) return null;
    if (value === null || typeof value !== "object" || Array.isArray(value) || value instanceof Date) return value;
    if (views.has(value)) return views.get(value);
    const view = new Proxy(function hostObject() {}, {
        get(target, name) {
            if (name === Symbol.toPrimitive) return () => String(value);
            const member = memberName(value, name);
            if (member === null) return undefined;
            const found = value[member];
            if (typeof found !== "function") return jsView(found);
            return (...args) => jsView(found.apply(value, args.map(hostValue)));
        },
        set(target, name, newValue) {
            const member = memberName(value, name);
            if (member === null) return false;
            value[member] = hostValue(newValue);
            return true;
        },
        has(target, name) {
            return memberName(value, name) !== null;
        },
        apply(target, thisArg, args) {
            const member = value[VB_DEFAULT];
            if (typeof member !== "string") throw new TypeError("This object cannot be called");
            return jsView(value[member](...args.map(hostValue)));
        },
    });
    views.set(value, view);
    hosts.set(view, value);
    return view;
}

// What a page hands back to the control: the host object behind a view.
export function hostValue(value) {
    if (value === null) return VB_NOTHING;
    return hosts.has(value) ? hosts.get(value) : value;
}

// "RequestComplete(request)" or "Command(UserInput)": the event's name and
// its parameters' names.
export function parseEventAttribute(text) {
    const match = /^\s*([A-Za-z_$][\w$]*)\s*(?:\(([^)]*)\))?\s*$/.exec(text || "");
    if (match === null) return null;
    const params = (match[2] || "")
        .split(",")
        .map((param) => param.trim())
        .filter((param) => param !== "");
    if (!params.every((param) => /^[A-Za-z_$][\w$]*$/.test(param))) return null;
    return { event: match[1], params };
}

// Whether a script element's language is JavaScript by another name.
export function isJavaScriptLanguage(language) {
    return /^\s*(j(ava)?script[\d.]*|ecmascript|text\/(j(ava)?script|ecmascript))\s*$/i.test(language);
}
