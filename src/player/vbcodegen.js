// Turns the syntax tree of one VBScript block into JavaScript source.
//
// The generated code calls the engine (`rt`, see vbengine.js) for every
// name, member, call and operator, so that letter case, VBScript's value
// rules and the host objects are handled in one place. `f` is the frame of
// the running procedure (or of the block's top-level code).
//
// On Error Resume Next works per statement: every statement is wrapped so
// that, while the frame's `resume` flag is set, an error only records Err and
// execution goes on with the next statement. An error while evaluating the
// condition of an If goes on with the first statement of its Then branch,
// and one in the expression of a Select Case with its first Case, because
// in VBScript that is the statement that follows.

import { VBSyntaxError } from "./vblexer.js";
import { parseVBScript } from "./vbparser.js";

// Statements whose bodies are lists of statements, and where those lie.
const VB_NESTED_BODIES = {
    if: (s) => [...s.branches.map((branch) => branch.body), s.elseBody || []],
    select: (s) => s.cases.map((entry) => entry.body),
    loop: (s) => [s.body],
    for: (s) => [s.body],
    foreach: (s) => [s.body],
    with: (s) => [s.body],
};

class VBCodeGenerator {
    constructor() {
        this.out = [];
        this.depth = 0;
        this.labels = 0;
        this.loops = []; // enclosing loops, innermost last: { kind: "do" | "for", label }
        this.withs = []; // the variables holding the enclosing With objects
    }

    emit(line) {
        this.out.push("    ".repeat(this.depth) + line);
    }

    expr(node) {
        switch (node.k) {
            case "num":
                return node.v < 0 ? `(${node.v})` : String(node.v);
            case "str":
                return JSON.stringify(node.v);
            case "lit":
                return { true: "true", false: "false", empty: "undefined", null: "null", nothing: "rt.NOTHING" }[
                    node.v
                ];
            case "name":
                return `rt.get(f, ${JSON.stringify(node.key)}, ${JSON.stringify(node.name)})`;
            case "member":
                return (
                    `rt.member(${this.expr(node.obj)}, ${JSON.stringify(node.key)}, ${JSON.stringify(node.name)}, ` +
                    `${VBCodeGenerator.objectName(node.obj)})`
                );
            case "index":
                return this.callExpr(node.target, node.args);
            case "paren":
                return this.expr(node.e);
            case "with":
                if (this.withs.length === 0) throw new VBSyntaxError("Invalid use of '.' outside With", 0, 1);
                return this.withs[this.withs.length - 1];
            case "un":
                return `rt.unary(${JSON.stringify(node.op)}, ${this.expr(node.e)})`;
            case "bin":
                return `rt.binary(${JSON.stringify(node.op)}, ${this.expr(node.l)}, ${this.expr(node.r)})`;
            default:
                throw new Error(`unknown expression ${node.k}`);
        }
    }

    callExpr(target, args) {
        const list = `[${args.map((arg) => this.expr(arg)).join(", ")}]`;
        if (target.k === "name") {
            // Plain variables among the arguments may be passed ByRef.
            const refs = args.map((arg) => (arg.k === "name" ? [arg.key, arg.name] : 0));
            const refList = refs.some((ref) => ref !== 0) ? `, ${JSON.stringify(refs)}` : "";
            return `rt.callName(f, ${JSON.stringify(target.key)}, ${JSON.stringify(target.name)}, ${list}${refList})`;
        }
        if (target.k === "member") {
            return (
                `rt.callMember(${this.expr(target.obj)}, ${JSON.stringify(target.key)}, ` +
                `${JSON.stringify(target.name)}, ${list}, ${VBCodeGenerator.objectName(target.obj)})`
            );
        }
        return `rt.callValue(${this.expr(target)}, ${list})`;
    }

    // The name that an "Object required" error quotes: the variable's name
    // when the object comes from one (VBScript says "Object required: 'Doll'").
    static objectName(node) {
        return node.k === "name" ? JSON.stringify(node.name) : "undefined";
    }

    // A statement that either completes or fails as a whole.
    guarded(line, code) {
        this.emit(`try { f.line = ${line}; ${code}; } catch (e) { rt.fail(f, e); }`);
    }

    block(statements) {
        this.depth += 1;
        for (const statement of statements) this.statement(statement);
        this.depth -= 1;
    }

    statement(node) {
        switch (node.k) {
            case "dim":
                // Names are declared when the block or the frame is set up;
                // arrays are made where the Dim stands.
                for (const entry of node.names.filter((item) => item.bounds !== null)) {
                    const bounds = `[${entry.bounds.map((bound) => this.expr(bound)).join(", ")}]`;
                    this.guarded(
                        node.line,
                        `rt.dimArray(f, ${JSON.stringify(entry.key)}, ${JSON.stringify(entry.name)}, ${bounds})`,
                    );
                }
                break;
            case "option":
                break; // Option Explicit holds for the whole block
            case "redim":
                for (const entry of node.items) {
                    const bounds = `[${entry.bounds.map((bound) => this.expr(bound)).join(", ")}]`;
                    this.guarded(
                        node.line,
                        `rt.reDim(f, ${JSON.stringify(entry.key)}, ${JSON.stringify(entry.name)}, ${bounds}, ` +
                            `${node.preserve})`,
                    );
                }
                break;
            case "loop":
                this.loopStatement(node);
                break;
            case "for":
                this.forStatement(node);
                break;
            case "foreach":
                this.forEachStatement(node);
                break;
            case "with":
                this.withStatement(node);
                break;
            case "const":
                for (const item of node.items) {
                    this.guarded(
                        node.line,
                        `rt.assign(f, ${JSON.stringify(item.key)}, ${JSON.stringify(item.name)}, ` +
                            `${this.expr(item.value)}, false)`,
                    );
                }
                break;
            case "assign":
                this.guarded(node.line, this.assignment(node));
                break;
            case "call":
                this.guarded(node.line, this.callExpr(node.target, node.args));
                break;
            case "onerror":
                this.emit(`f.resume = ${node.resume}; rt.clearError();`);
                break;
            case "exit":
                if (node.what === "do" || node.what === "for") {
                    const loop = this.loops.findLast((entry) => entry.kind === node.what);
                    if (loop === undefined) throw new VBSyntaxError("Invalid 'Exit' statement", node.line, 1);
                    this.emit(`break ${loop.label};`);
                } else {
                    this.emit(node.what === "function" ? "return f.result;" : "return undefined;");
                }
                break;
            case "if":
                this.ifStatement(node, 0);
                break;
            case "select":
                this.selectStatement(node);
                break;
            default:
                throw new Error(`unknown statement ${node.k}`);
        }
    }

    assignment(node) {
        const value = this.expr(node.value);
        const target = node.target;
        if (target.k === "name") {
            return `rt.assign(f, ${JSON.stringify(target.key)}, ${JSON.stringify(target.name)}, ${value}, ${node.set})`;
        }
        if (target.k === "member") {
            return (
                `rt.setMember(${this.expr(target.obj)}, ${JSON.stringify(target.key)}, ` +
                `${JSON.stringify(target.name)}, ${value}, ${node.set}, ${VBCodeGenerator.objectName(target.obj)})`
            );
        }
        const args = target.args.map((arg) => this.expr(arg)).join(", ");
        return `rt.assignIndexed(${this.expr(target.target)}, [${args}], ${value}, ${node.set})`;
    }

    ifStatement(node, branch) {
        const { cond, body } = node.branches[branch];
        const flag = `c${this.depth}`;
        this.emit("{");
        this.depth += 1;
        this.emit(`let ${flag};`);
        this.emit(
            `try { f.line = ${node.line}; ${flag} = rt.truth(${this.expr(cond)}); } ` +
                `catch (e) { rt.fail(f, e); ${flag} = true; }`,
        );
        this.emit(`if (${flag}) {`);
        this.block(body);
        const rest = branch + 1 < node.branches.length;
        if (rest || node.elseBody !== null) {
            this.emit("} else {");
            if (rest) {
                this.depth += 1;
                this.ifStatement(node, branch + 1);
                this.depth -= 1;
            } else {
                this.block(node.elseBody);
            }
        }
        this.emit("}");
        this.depth -= 1;
        this.emit("}");
    }

    selectStatement(node) {
        const label = `select${this.labels++}`;
        this.emit("{");
        this.depth += 1;
        this.emit("let subject, chosen = -1, ok = true;");
        this.emit(
            `try { f.line = ${node.line}; subject = ${this.expr(node.expr)}; } ` +
                "catch (e) { rt.fail(f, e); ok = false; }",
        );
        this.emit(`${label}: {`);
        this.depth += 1;
        this.emit(`if (!ok) { chosen = 0; break ${label}; }`);
        node.cases.forEach((entry, index) => {
            if (entry.values === null) {
                this.emit(`chosen = ${index}; break ${label};`);
                return;
            }
            const tests = entry.values.map((value) => this.caseTest(value)).join(" || ");
            this.emit(
                `try { if (${tests}) { chosen = ${index}; break ${label}; } } ` +
                    `catch (e) { rt.fail(f, e); chosen = ${index}; break ${label}; }`,
            );
        });
        this.depth -= 1;
        this.emit("}");
        this.emit("switch (chosen) {");
        node.cases.forEach((entry, index) => {
            this.emit(`case ${index}: {`);
            this.block(entry.body);
            this.emit("    break;");
            this.emit("}");
        });
        this.emit("}");
        this.depth -= 1;
        this.emit("}");
    }

    caseTest(value) {
        if (value.k === "caseis") return `rt.caseIs(subject, ${JSON.stringify(value.op)}, ${this.expr(value.e)})`;
        if (value.k === "caserange") {
            return `rt.caseRange(subject, ${this.expr(value.low)}, ${this.expr(value.high)})`;
        }
        return `rt.caseMatches(subject, ${this.expr(value)})`;
    }

    // The loop's body, with Exit Do / Exit For leaving it by its label.
    loopBody(kind, label, body) {
        this.loops.push({ kind, label });
        this.block(body);
        this.loops.pop();
    }

    // A loop's While / Until test. An error in it (under On Error Resume
    // Next) leaves the loop rather than risking one that never ends.
    loopTest(node, test, label) {
        if (test === null) return;
        const flag = `t${this.depth}`;
        this.emit(
            `{ let ${flag}; try { f.line = ${node.line}; ${flag} = rt.truth(${this.expr(test.cond)}); } ` +
                `catch (e) { rt.fail(f, e); ${flag} = null; }`,
        );
        this.emit(`  if (${flag} === null || ${test.until ? flag : `!${flag}`}) break ${label}; }`);
    }

    loopStatement(node) {
        const label = `loop${this.labels++}`;
        this.emit(`${label}: for (;;) {`);
        this.depth += 1;
        this.emit("rt.step();");
        this.loopTest(node, node.pre, label);
        this.depth -= 1;
        this.loopBody(node.wend ? "while" : "do", label, node.body);
        this.depth += 1;
        this.loopTest(node, node.post, label);
        this.depth -= 1;
        this.emit("}");
    }

    // For i = a To b Step s: the bounds and the step are read once; the
    // counter is read again after each turn, as the body may change it.
    forStatement(node) {
        const label = `loop${this.labels++}`;
        const key = JSON.stringify(node.variable.key);
        const name = JSON.stringify(node.variable.name);
        const [to, step] = [`to${label}`, `step${label}`];
        this.emit("{");
        this.depth += 1;
        this.emit(`let ${to}, ${step}, ok = true;`);
        this.emit(
            `try { f.line = ${node.line}; const from = rt.num(${this.expr(node.from)}); ` +
                `${to} = rt.num(${this.expr(node.to)}); ` +
                `${step} = ${node.step === null ? "1" : `rt.num(${this.expr(node.step)})`}; ` +
                `rt.assign(f, ${key}, ${name}, from, false); } catch (e) { rt.fail(f, e); ok = false; }`,
        );
        this.emit(`if (ok) ${label}: for (;;) {`);
        this.depth += 1;
        this.emit("rt.step();");
        this.emit(`const at = rt.num(rt.get(f, ${key}, ${name}));`);
        this.emit(`if (${step} >= 0 ? at > ${to} : at < ${to}) break;`);
        this.depth -= 1;
        this.loopBody("for", label, node.body);
        this.emit(`    rt.assign(f, ${key}, ${name}, rt.num(rt.get(f, ${key}, ${name})) + ${step}, false);`);
        this.emit("}");
        this.depth -= 1;
        this.emit("}");
    }

    forEachStatement(node) {
        const label = `loop${this.labels++}`;
        const key = JSON.stringify(node.variable.key);
        const name = JSON.stringify(node.variable.name);
        const items = `items${label}`;
        this.emit("{");
        this.depth += 1;
        this.emit(`let ${items} = null;`);
        this.emit(
            `try { f.line = ${node.line}; ${items} = rt.items(${this.expr(node.collection)}); } ` +
                "catch (e) { rt.fail(f, e); }",
        );
        this.emit(`if (${items} !== null) ${label}: for (const item of ${items}) {`);
        this.emit("    rt.step();");
        this.emit(`    rt.assign(f, ${key}, ${name}, item, false);`);
        this.loopBody("for", label, node.body);
        this.emit("}");
        this.depth -= 1;
        this.emit("}");
    }

    withStatement(node) {
        const holder = `with${this.labels++}`;
        this.emit("{");
        this.depth += 1;
        this.emit(`let ${holder};`);
        this.emit(
            `try { f.line = ${node.line}; ${holder} = ${this.expr(node.object)}; } ` +
                `catch (e) { rt.fail(f, e); ${holder} = rt.NOTHING; }`,
        );
        this.withs.push(holder);
        this.block(node.body);
        this.withs.pop();
        this.depth -= 1;
        this.emit("}");
    }

    // Names declared with Dim or Const anywhere in a list of statements,
    // nested blocks included: [{ key, name }]. (ReDim declares nothing: in a
    // procedure it resizes the page's array of that name, if there is one.)
    static declaredNames(statements, names = []) {
        const pending = [...statements].reverse();
        while (pending.length > 0) {
            const statement = pending.pop();
            if (statement.k === "dim") names.push(...statement.names);
            if (statement.k === "const") names.push(...statement.items);
            const nested = VB_NESTED_BODIES[statement.k];
            if (nested) for (const body of nested(statement).reverse()) pending.push(...[...body].reverse());
        }
        const seen = new Set();
        return names
            .filter((entry) => !seen.has(entry.key) && seen.add(entry.key))
            .map(({ key, name }) => ({ key, name }));
    }

    program(program) {
        this.emit('"use strict";');
        const explicit = program.body.some((statement) => statement.k === "option");
        const globals = VBCodeGenerator.declaredNames(program.body);
        this.emit(
            `rt.declareGlobals(${JSON.stringify(globals.map((entry) => entry.key))}, ` +
                `${JSON.stringify(globals.map((entry) => entry.name))});`,
        );
        for (const proc of program.procs) {
            const header = {
                kind: proc.kind,
                name: proc.name,
                key: proc.key,
                line: proc.line,
                params: proc.params,
                locals: VBCodeGenerator.declaredNames(proc.body).map((entry) => entry.key),
                explicit,
            };
            this.emit(`rt.defineProc(${JSON.stringify(header)}, function (f) {`);
            this.block(proc.body);
            this.emit("    return f.result;");
            this.emit("});");
        }
        this.emit("return function (f) {");
        if (explicit) this.emit("    f.explicit = true;");
        this.block(program.body);
        this.emit("};");
        return `${this.out.join("\n")}\n`;
    }
}

// Translates a VBScript block into the body of a JavaScript function of `rt`
// that defines the block's procedures and returns its top-level code.
export function translateVBScript(source) {
    return new VBCodeGenerator().program(parseVBScript(source));
}
