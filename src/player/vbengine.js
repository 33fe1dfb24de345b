// Runs translated VBScript: the page's global variables and procedures,
// name resolution, host object members (all letter-case-insensitive),
// arrays, ByRef arguments, the Err object, the language's functions, the
// guard against runaway loops, and events bound by name
// (`Agent_RequestComplete` handles the RequestComplete event of the object
// whose id is Agent).

import { copyVBArray, makeVBArray, vbArraySlot } from "./vbarrays.js";
import { translateVBScript } from "./vbcodegen.js";
import { VB_CONSTANTS, VB_FUNCTIONS } from "./vbfunctions.js";
import {
    isVBObject,
    VB_DEFAULT,
    VB_NOTHING,
    VB_OPERATORS,
    VB_UNARY,
    VBError,
    vbError,
    vbToBoolean,
    vbToNumber,
    vbToString,
} from "./vbvalues.js";

const VB_MAX_CALL_DEPTH = 256; // VBScript's own limit is about this deep; deeper is a runaway recursion
// Loop turns and calls that one entry into the script (a block, an event, a
// timer) may take before it yields back to the page: far more than any
// presentation needs, and a second or so of a runaway loop.
export const VB_DEFAULT_MAX_STEPS = 2000000;

// Stops the script where it is: no On Error Resume Next goes on after it.
export class VBScriptStopped extends VBError {}

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

export class VBEngine {
    // trace(event) records what happens; reportError(error, where) shows
    // a script error to whoever runs the page (the console at least).
    constructor({ trace = () => {}, reportError = () => {}, maxSteps = VB_DEFAULT_MAX_STEPS } = {}) {
        this.NOTHING = VB_NOTHING;
        this.maxSteps = maxSteps;
        this.steps = 0;
        this.entered = 0;
        this.trace = trace;
        this.reportError = reportError;
        this.globals = new Map();
        this.procs = new Map();
        this.builtins = new Map();
        this.err = new VBErrObject();
        this.callDepth = 0;
        this.addValue("err", () => this.err);
        for (const [name, fn] of Object.entries(VB_FUNCTIONS)) this.addFunction(name, fn);
        for (const [name, value] of Object.entries(VB_CONSTANTS)) this.addValue(name, () => value);
    }

    // Runs fn as one entry into the script: the step count starts afresh
    // when the page calls in, not when the script calls itself.
    enter(fn) {
        if (this.entered === 0) this.steps = 0;
        this.entered += 1;
        try {
            return fn();
        } finally {
            this.entered -= 1;
        }
    }

    // One loop turn or call: a script that takes too many without yielding
    // is stopped.
    step() {
        this.steps += 1;
        if (this.steps > this.maxSteps) {
            throw new VBScriptStopped(
                5,
                `Script stopped: ${this.maxSteps} loop turns without a pause (a loop that never ends?)`,
            );
        }
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
            this.enter(() => main(this.globalFrame()));
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
        return { proc: null, locals: null, resume: false, result: undefined, line: 0, explicit: false };
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
        if (!f.resume || error instanceof VBScriptStopped || error instanceof RangeError) {
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

    // `Case Is < 5` and `Case 1 To 5`.
    caseIs(subject, op, value) {
        return VB_OPERATORS[op](subject, value) === true;
    }

    caseRange(subject, low, high) {
        return VB_OPERATORS[">="](subject, low) === true && VB_OPERATORS["<="](subject, high) === true;
    }

    num(value) {
        return vbToNumber(value);
    }

    // What For Each walks: an array's elements, or a collection's items.
    items(value) {
        if (Array.isArray(value)) return value.flat(Number.POSITIVE_INFINITY);
        if (isVBObject(value) && value !== VB_NOTHING && typeof value._items === "function") return value._items();
        throw vbError("notCollection");
    }

    undeclared(f, name) {
        if (f.explicit) throw vbError("undefinedVariable", name);
    }

    // Dim a(2, 3) and ReDim [Preserve] a(n).
    dimArray(f, key, name, bounds) {
        this.assign(f, key, name, bounds.length === 0 ? [] : makeVBArray(bounds), false, true);
    }

    reDim(f, key, name, bounds, preserve) {
        const old = preserve ? this.get(f, key, name) : null;
        this.assign(f, key, name, makeVBArray(bounds, Array.isArray(old) ? old : null), false, true);
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
        this.undeclared(f, name);
        return undefined; // an undeclared variable is Empty
    }

    // Assigning an array copies it, as VBScript does (declaring does not).
    assign(f, key, name, value, isSet, declaring = false) {
        if (isSet && !isVBObject(value)) throw vbError("objectRequired", name);
        if (Array.isArray(value)) value = copyVBArray(value);
        if (f.locals?.has(key)) {
            f.locals.set(key, value);
        } else if (this.isFunctionResult(f, key)) {
            f.result = value;
        } else if (this.globals.has(key)) {
            this.globals.get(key).value = value;
        } else if (this.procs.has(key) || this.builtins.has(key)) {
            throw new VBError(501, `Illegal assignment: '${name}'`);
        } else if (f.locals !== null) {
            if (!declaring) this.undeclared(f, name);
            f.locals.set(key, value); // undeclared inside a procedure: a local
        } else {
            if (!declaring) this.undeclared(f, name);
            this.globals.set(key, { name, value });
        }
    }

    // refs: for each argument that is a plain variable, its [key, name], so
    // that a ByRef parameter's last value goes back into it.
    callName(f, key, name, args, refs = null) {
        if (f.locals?.has(key) || this.globals.has(key) || this.isFunctionResult(f, key)) {
            const value = this.get(f, key, name);
            return args.length === 0 ? value : this.callValue(value, args, name);
        }
        const proc = this.procs.get(key);
        if (proc !== undefined) return this.invoke(proc, args, f, refs);
        const builtin = this.builtins.get(key);
        if (builtin !== undefined) {
            if (builtin.call) return builtin.call(...args);
            const value = builtin.get();
            return args.length === 0 ? value : this.callValue(value, args, name);
        }
        throw vbError("typeMismatch", name); // what VBScript says for an unknown Sub
    }

    // `value(args)`: an array's element, or the default member of an object.
    callValue(value, args, name) {
        if (Array.isArray(value) && args.length > 0) {
            const { holder, index } = vbArraySlot(value, args);
            return holder[index];
        }
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

    // `a(i) = v`: an element of an array (the array itself is changed, not
    // a copy), or an indexed property of an object.
    assignIndexed(target, args, value, isSet) {
        if (Array.isArray(target)) {
            if (isSet && !isVBObject(value)) throw vbError("objectRequired");
            const { holder, index } = vbArraySlot(target, args);
            holder[index] = Array.isArray(value) ? copyVBArray(value) : value;
            return;
        }
        throw vbError("typeMismatch");
    }

    invoke(proc, args, caller = null, refs = null) {
        if (args.length !== proc.params.length) throw vbError("wrongArguments", proc.name);
        if (this.callDepth >= VB_MAX_CALL_DEPTH) throw new VBError(28, "Out of stack space");
        this.step();
        const frame = {
            proc,
            locals: new Map(),
            resume: false,
            result: undefined,
            line: proc.line,
            explicit: proc.explicit === true,
        };
        for (const key of proc.locals) frame.locals.set(key, undefined);
        for (const [i, param] of proc.params.entries()) {
            frame.locals.set(param.key, Array.isArray(args[i]) && !param.byRef ? copyVBArray(args[i]) : args[i]);
        }
        this.trace({ type: "call", name: proc.name });
        this.callDepth += 1;
        let result;
        try {
            result = proc.run(frame);
        } finally {
            this.callDepth -= 1;
        }
        // ByRef: the parameter's last value goes back into the caller's variable.
        if (caller !== null && refs !== null) {
            for (const [i, param] of proc.params.entries()) {
                if (param.byRef && refs[i]) this.assign(caller, refs[i][0], refs[i][1], frame.locals.get(param.key));
            }
        }
        return result;
    }

    // --- entry points for the host ----------------------------------------

    // Calls a procedure from outside the script (an event, a timer). The
    // handler gets as many of the arguments as it declares. Errors are
    // reported, never thrown: one failing handler must not stop the page.
    callFromHost(name, args = []) {
        const proc = this.procs.get(name.toLowerCase());
        if (proc === undefined) return false;
        try {
            this.enter(() =>
                this.invoke(
                    proc,
                    proc.params.map((param, i) => args[i]),
                ),
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
