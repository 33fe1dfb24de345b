// Runs translated VBScript: the page's global variables and procedures,
// name resolution, host object members (all letter-case-insensitive), the
// Err object, a few built-in functions, and events bound by name
// (`Agent_RequestComplete` handles the RequestComplete event of the object
// whose id is Agent).

import { translateVBScript } from "./vbcodegen.js";
import {
    isVBObject,
    parseVBNumber,
    VB_DEFAULT,
    VB_NOTHING,
    VB_OPERATORS,
    VB_UNARY,
    VBError,
    vbError,
    vbToBoolean,
    vbToNumber,
    vbToString,
    vbTypeName,
} from "./vbvalues.js";

const VB_MAX_CALL_DEPTH = 256; // VBScript's own limit is about this deep; deeper is a runaway recursion

const VB_HIDDEN_MEMBERS = new Set(["constructor", "__proto__"]);

// The real property name of a host object's member, found without regard to
// letter case; names starting with "_" are internal and never found.
function findHostMember(object, key) {
    for (
        let o = object;
        o !== null && o !== Object.prototype && o !== Function.prototype;
        o = Object.getPrototypeOf(o)
    ) {
        for (const name of Object.getOwnPropertyNames(o)) {
            if (
                name.length === key.length &&
                name.toLowerCase() === key &&
                !VB_HIDDEN_MEMBERS.has(name) &&
                !name.startsWith("_")
            ) {
                return name;
            }
        }
    }
    return null;
}

class VBErrObject {
    constructor() {
        this.Clear();
    }

    get Number() {
        return this._number;
    }

    get Description() {
        return this._description;
    }

    get Source() {
        return this._source;
    }

    Clear() {
        this._number = 0;
        this._description = "";
        this._source = "";
    }

    Raise(number, source, description) {
        throw new VBError(vbToNumber(number), description === undefined ? "" : vbToString(description));
    }

    _record(error) {
        this._number = typeof error.number === "number" ? error.number : 5;
        this._description = error.description !== undefined ? error.description : String(error.message || error);
        this._source = "Microsoft VBScript runtime error";
    }
}

// Functions of the VBScript language itself that a hand-written page
// script is likely to use; the generated scripts use none of them.
const VB_FUNCTIONS = {
    cstr: (value) => vbToString(value),
    cint: (value) => Math.round(vbToNumber(value)),
    clng: (value) => Math.round(vbToNumber(value)),
    cdbl: (value) => vbToNumber(value),
    cbool: (value) => vbToBoolean(value),
    len: (value) => (value === null ? null : vbToString(value).length),
    ucase: (value) => (value === null ? null : vbToString(value).toUpperCase()),
    lcase: (value) => (value === null ? null : vbToString(value).toLowerCase()),
    trim: (value) => (value === null ? null : vbToString(value).replace(/^ +| +$/g, "")),
    left: (value, count) => vbToString(value).slice(0, Math.max(0, vbToNumber(count))),
    right: (value, count) => {
        const text = vbToString(value);
        return text.slice(Math.max(0, text.length - vbToNumber(count)));
    },
    mid: (value, start, count) => {
        const text = vbToString(value);
        const from = Math.max(0, vbToNumber(start) - 1);
        return count === undefined ? text.slice(from) : text.slice(from, from + Math.max(0, vbToNumber(count)));
    },
    instr: (...args) => {
        const [start, haystack, needle] = args.length >= 3 ? args : [1, args[0], args[1]];
        return vbToString(haystack).indexOf(vbToString(needle), vbToNumber(start) - 1) + 1;
    },
    replace: (value, find, replacement) => vbToString(value).split(vbToString(find)).join(vbToString(replacement)),
    chr: (code) => String.fromCharCode(vbToNumber(code)),
    asc: (value) => vbToString(value).charCodeAt(0),
    isempty: (value) => value === undefined,
    isnull: (value) => value === null,
    isobject: (value) => isVBObject(value),
    isnumeric: (value) =>
        typeof value === "number" || (typeof value === "string" && !Number.isNaN(parseVBNumber(value))),
    typename: (value) => vbTypeName(value),
    int: (value) => Math.floor(vbToNumber(value)),
    abs: (value) => Math.abs(vbToNumber(value)),
};

export class VBEngine {
    // trace(event) records what happens; reportError(error, where) shows
    // a script error to whoever runs the page (the console at least).
    constructor({ trace = () => {}, reportError = () => {} } = {}) {
        this.NOTHING = VB_NOTHING;
        this.trace = trace;
        this.reportError = reportError;
        this.globals = new Map();
        this.procs = new Map();
        this.builtins = new Map();
        this.err = new VBErrObject();
        this.callDepth = 0;
        this.addValue("err", () => this.err);
        for (const [name, fn] of Object.entries(VB_FUNCTIONS)) this.addFunction(name, fn);
    }

    // Host names (lower case): values are read on every use, functions are
    // called with the VBScript arguments.
    addValue(key, get) {
        this.builtins.set(key, { get });
    }

    addFunction(key, call) {
        this.builtins.set(key, { call });
    }

    // --- loading ---------------------------------------------------------

    compile(source) {
        const js = translateVBScript(source);
        return { js, install: new Function("rt", js) };
    }

    // Runs one script block: defines its procedures, then runs its
    // top-level statements. A syntax error rejects the whole block, as the
    // browser's script host does. Returns true when the block ran cleanly.
    runBlock(source, label = "script") {
        let compiled;
        try {
            compiled = this.compile(source);
        } catch (error) {
            this.report(error, label);
            return false;
        }
        try {
            const main = compiled.install(this);
            main(this.globalFrame());
            return true;
        } catch (error) {
            this.report(error, label);
            return false;
        }
    }

    // Runs a piece of script text in the global scope, as SetTimeout does
    // with its first argument.
    runCode(text, label) {
        return this.runBlock(text, label);
    }

    globalFrame() {
        return { proc: null, locals: null, resume: false, result: undefined, line: 0 };
    }

    report(error, where) {
        const description = error.description !== undefined ? error.description : String(error.message || error);
        const event = { type: "script-error", where, description };
        if (typeof error.number === "number") event.number = error.number;
        if (error.vbWhere) event.where = error.vbWhere;
        if (typeof error.line === "number") event.line = error.line;
        else if (typeof error.vbLine === "number") event.line = error.vbLine;
        this.trace(event);
        this.reportError(error, event);
    }

    // --- called by the translated code --------------------------------------

    declareGlobals(keys, names) {
        keys.forEach((key, i) => {
            if (!this.globals.has(key)) this.globals.set(key, { name: names[i] || key, value: undefined });
        });
    }

    defineProc(header, run) {
        this.procs.set(header.key, { ...header, run });
    }

    hasProc(key) {
        return this.procs.has(key.toLowerCase());
    }

    fail(f, error) {
        if (!f.resume) {
            if (f.proc && error && typeof error === "object" && error.vbWhere === undefined) {
                error.vbWhere = f.proc.name;
                error.vbLine = f.line;
            }
            throw error;
        }
        if (!(error instanceof VBError) && typeof console === "object") {
            console.warn("orvo-player: error skipped by On Error Resume Next:", error);
        }
        this.err._record(error);
    }

    clearError() {
        this.err.Clear();
    }

    truth(value) {
        return vbToBoolean(value);
    }

    unary(op, value) {
        return VB_UNARY[op](value);
    }

    binary(op, left, right) {
        return VB_OPERATORS[op](left, right);
    }

    caseMatches(subject, value) {
        return VB_OPERATORS["="](subject, value) === true;
    }

    isFunctionResult(f, key) {
        return f.proc !== null && f.proc.kind === "function" && f.proc.key === key;
    }

    get(f, key, name) {
        if (f.locals?.has(key)) return f.locals.get(key);
        if (this.isFunctionResult(f, key)) return f.result;
        const global = this.globals.get(key);
        if (global !== undefined) return global.value;
        const proc = this.procs.get(key);
        if (proc !== undefined) return this.invoke(proc, []);
        const builtin = this.builtins.get(key);
        if (builtin !== undefined) return builtin.get ? builtin.get() : builtin.call();
        return undefined; // an undeclared variable is Empty
    }

    assign(f, key, name, value, isSet) {
        if (isSet && !isVBObject(value)) throw vbError("objectRequired", name);
        if (f.locals?.has(key)) {
            f.locals.set(key, value);
        } else if (this.isFunctionResult(f, key)) {
            f.result = value;
        } else if (this.globals.has(key)) {
            this.globals.get(key).value = value;
        } else if (this.procs.has(key) || this.builtins.has(key)) {
            throw new VBError(501, `Illegal assignment: '${name}'`);
        } else if (f.locals !== null) {
            f.locals.set(key, value); // undeclared inside a procedure: a local
        } else {
            this.globals.set(key, { name, value });
        }
    }

    callName(f, key, name, args) {
        if (f.locals?.has(key) || this.globals.has(key) || this.isFunctionResult(f, key)) {
            const value = this.get(f, key, name);
            return args.length === 0 ? value : this.callValue(value, args, name);
        }
        const proc = this.procs.get(key);
        if (proc !== undefined) return this.invoke(proc, args);
        const builtin = this.builtins.get(key);
        if (builtin !== undefined) {
            if (builtin.call) return builtin.call(...args);
            const value = builtin.get();
            return args.length === 0 ? value : this.callValue(value, args, name);
        }
        throw vbError("typeMismatch", name); // what VBScript says for an unknown Sub
    }

    // `value(args)`: the default member of an object.
    callValue(value, args, name) {
        if (isVBObject(value) && value !== VB_NOTHING && typeof value[VB_DEFAULT] === "string") {
            return this.callMember(value, value[VB_DEFAULT].toLowerCase(), value[VB_DEFAULT], args);
        }
        if (args.length === 0) return value;
        throw vbError("typeMismatch", name);
    }

    hostMember(object, key, name, objectName) {
        if (!isVBObject(object) || object === VB_NOTHING) throw vbError("objectRequired", objectName);
        const property = findHostMember(object, key);
        if (property === null) throw vbError("noSuchMember", name);
        return property;
    }

    member(object, key, name, objectName) {
        const property = this.hostMember(object, key, name, objectName);
        const value = object[property];
        return typeof value === "function" ? value.call(object) : value;
    }

    callMember(object, key, name, args, objectName) {
        const property = this.hostMember(object, key, name, objectName);
        const value = object[property];
        if (typeof value === "function") return value.apply(object, args);
        return args.length === 0 ? value : this.callValue(value, args, name);
    }

    setMember(object, key, name, value, isSet, objectName) {
        if (isSet && !isVBObject(value)) throw vbError("objectRequired", name);
        const property = this.hostMember(object, key, name, objectName);
        object[property] = value;
    }

    // `x(i) = v`: arrays and indexed properties are not part of the dialect.
    assignIndexed() {
        throw vbError("typeMismatch");
    }

    invoke(proc, args) {
        if (args.length !== proc.params.length) throw vbError("wrongArguments", proc.name);
        if (this.callDepth >= VB_MAX_CALL_DEPTH) throw new VBError(28, "Out of stack space");
        const frame = { proc, locals: new Map(), resume: false, result: undefined, line: proc.line };
        for (const key of proc.locals) frame.locals.set(key, undefined);
        for (const [i, param] of proc.params.entries()) frame.locals.set(param.key, args[i]);
        this.trace({ type: "call", name: proc.name });
        this.callDepth += 1;
        try {
            return proc.run(frame);
        } finally {
            this.callDepth -= 1;
        }
    }

    // --- entry points for the host ----------------------------------------

    // Calls a procedure from outside the script (an event, a timer). The
    // handler gets as many of the arguments as it declares. Errors are
    // reported, never thrown: one failing handler must not stop the page.
    callFromHost(name, args = []) {
        const proc = this.procs.get(name.toLowerCase());
        if (proc === undefined) return false;
        try {
            this.invoke(
                proc,
                proc.params.map((param, i) => args[i]),
            );
        } catch (error) {
            this.report(error, proc.name);
        }
        return true;
    }

    // Raises an event of a named object: `Agent` + `RequestComplete` runs
    // the procedure Agent_RequestComplete when the page has one.
    fireEvent(objectId, eventName, args) {
        return this.callFromHost(`${objectId}_${eventName}`, args);
    }
}
