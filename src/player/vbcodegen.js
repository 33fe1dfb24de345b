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

import { parseVBScript } from "./vbparser.js";

class VBCodeGenerator {
    constructor() {
        this.out = [];
        this.depth = 0;
        this.labels = 0;
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
            return `rt.callName(f, ${JSON.stringify(target.key)}, ${JSON.stringify(target.name)}, ${list})`;
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
            case "option":
                break; // declared when the block or the frame is set up
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
                this.emit(node.what === "function" ? "return f.result;" : "return undefined;");
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
            const tests = entry.values.map((value) => `rt.caseMatches(subject, ${this.expr(value)})`).join(" || ");
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

    // Names declared with Dim or Const anywhere in a list of statements.
    static declaredNames(statements, names = []) {
        for (const statement of statements) {
            if (statement.k === "dim") names.push(...statement.names.map((entry) => entry.key));
            if (statement.k === "const") names.push(...statement.items.map((entry) => entry.key));
            if (statement.k === "if") {
                for (const branch of statement.branches) VBCodeGenerator.declaredNames(branch.body, names);
                if (statement.elseBody) VBCodeGenerator.declaredNames(statement.elseBody, names);
            }
            if (statement.k === "select") {
                for (const entry of statement.cases) VBCodeGenerator.declaredNames(entry.body, names);
            }
        }
        return names;
    }

    program(program) {
        this.emit('"use strict";');
        const globals = VBCodeGenerator.declaredNames(program.body);
        const globalNames = program.body
            .filter((s) => s.k === "dim" || s.k === "const")
            .flatMap((s) => (s.k === "dim" ? s.names : s.items).map((entry) => entry.name));
        this.emit(`rt.declareGlobals(${JSON.stringify(globals)}, ${JSON.stringify(globalNames)});`);
        for (const proc of program.procs) {
            const header = {
                kind: proc.kind,
                name: proc.name,
                key: proc.key,
                line: proc.line,
                params: proc.params,
                locals: VBCodeGenerator.declaredNames(proc.body),
            };
            this.emit(`rt.defineProc(${JSON.stringify(header)}, function (f) {`);
            this.block(proc.body);
            this.emit("    return f.result;");
            this.emit("});");
        }
        this.emit("return function (f) {");
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
