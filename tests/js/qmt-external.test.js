// The injected bridge script (resources/qmt-external.js) running over the WebKit shim
// (resources/webkit-shim.js), with a fake host behind the script message handler: what the page
// posts, how replies settle calls, and the default event handlers.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const vm = require('node:vm');

const root = path.join(__dirname, '..', '..');
const bridgeBytes = fs.readFileSync(path.join(root, 'resources', 'qmt-external.js'));
const shimText = fs.readFileSync(path.join(root, 'resources', 'webkit-shim.js'), 'utf8');
const relayText = fs.readFileSync(path.join(root, 'resources', 'webkit-relay.js'), 'utf8');

// A document's window with the message handler behind the relay; postMessage gets each message's
// JSON text. topLevel: the relay runs, as the host injects it into top-level documents only, and
// the host has started it with its key.
function newWindow(postMessage, topLevel = true, globals = {}) {
    const target = new EventTarget();
    const context = {
        JSON, setTimeout, Math, Promise, CustomEvent,
        addEventListener: target.addEventListener.bind(target),
        dispatchEvent: target.dispatchEvent.bind(target),
        webkit: {messageHandlers: {qmt: {postMessage: (text) => {
            assert.ok(text.startsWith('key-1\n'), 'the relay sends its key first');
            postMessage(text.slice('key-1\n'.length));
        }}}},
        ...globals,
    };
    context.window = context;
    vm.createContext(context);
    if (topLevel) {
        vm.runInContext(relayText, context);
        vm.runInContext('__velmoraRelay.start("key-1");', context);
    }
    vm.runInContext(shimText, context);
    return context;
}

// The function ID table as the dispatcher knows it, one row per line of BridgeFunctions.cpp.
function functionTable() {
    const source = fs.readFileSync(path.join(root, 'src', 'bridge', 'BridgeFunctions.cpp'), 'utf8');
    const rows = [];
    const row = /^\s*\{(\d+), u"([\w.]+)", (Empty|Args), (Anywhere|Runtime), /gm;
    for (let m; (m = row.exec(source)) !== null;)
        rows.push({id: Number(m[1]), name: m[2], takesArgs: m[3] === 'Args'});
    return rows;
}

// A page: the shim, then the bridge script, as the start-up script runs them. posted holds
// every message the host received, parsed; reply(obj) delivers a host reply.
function newPage(globals = {}) {
    const posted = [];
    const context = newWindow((text) => posted.push(JSON.parse(text)), true, globals);
    assert.deepStrictEqual([...bridgeBytes.subarray(0, 3)], [0xef, 0xbb, 0xbf], 'UTF-8 with byte-order mark');
    vm.runInContext(bridgeBytes.subarray(3).toString('utf8'), context);
    // Keeps count of the registered 'message' listeners.
    const webview = context.chrome.webview;
    const live = new Set();
    const add = webview.addEventListener, remove = webview.removeEventListener;
    webview.addEventListener = function (type, fn) { live.add(fn); return add.call(this, type, fn); };
    webview.removeEventListener = function (type, fn) { live.delete(fn); return remove.call(this, type, fn); };
    return {
        qmt: context.qmt,
        posted,
        reply: (value) => vm.runInContext('chrome.webview.__dispatch(' + JSON.stringify(value) + ');', context),
        webview,
        listeners: () => live.size,
    };
}

const settled = (promise) => promise.then((v) => ({ok: v}), (e) => ({error: e}));
const tick = () => new Promise((resolve) => setImmediate(resolve));

test('window.qmt members come in the specified order', () => {
    const {qmt} = newPage();
    assert.deepStrictEqual(Object.keys(qmt), ['call', 'hello', 'isRuntime', 'dialogs', 'files', 'folders',
        'app', 'window', 'shell', 'themes', 'base64', 'system', 'mainMenu', 'registry', 'trayMenu', 'events']);
});

test('uuids are version 4 in lower-case hex, with every variant digit', () => {
    const page = newPage();
    const variants = new Set();
    const seen = new Set();
    for (let i = 0; i < 2000; i++) page.qmt.hello();
    for (const message of page.posted) {
        assert.match(message.uuid, /^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$/);
        variants.add(message.uuid[19]);
        seen.add(message.uuid);
    }
    assert.deepStrictEqual([...variants].sort(), ['8', '9', 'a', 'b']);
    assert.strictEqual(seen.size, 2000);
});

test('every table function posts its ID with the caller\'s object or {}', () => {
    const table = functionTable();
    assert.strictEqual(table.length, 57, 'rows read from BridgeFunctions.cpp');
    const page = newPage();
    const args = {marker: 'caller'};
    const scriptNames = [];
    for (const [key, value] of Object.entries(page.qmt)) {
        if (key === 'call' || key === 'events') continue;
        if (typeof value === 'function') scriptNames.push(key);
        else for (const name of Object.keys(value)) scriptNames.push(key + '.' + name);
    }
    assert.deepStrictEqual(scriptNames.slice().sort(), table.map((r) => r.name).sort(),
        'the script defines exactly the table\'s functions');
    for (const row of table) {
        const [ns, name] = row.name.includes('.') ? row.name.split('.') : [null, row.name];
        const fn = ns ? page.qmt[ns][name] : page.qmt[name];
        const owner = ns ? page.qmt[ns] : page.qmt;
        page.posted.length = 0;
        fn.call(owner, args);
        assert.strictEqual(page.posted.length, 1, row.name);
        const message = page.posted[0];
        assert.deepStrictEqual(Object.keys(message), ['id', 'uuid', 'data'], row.name);
        assert.strictEqual(message.id, row.id, row.name);
        assert.deepStrictEqual(message.data, row.takesArgs ? args : {}, row.name);
    }
});

test('one listener per pending call, each removed by its own reply, in any order', async () => {
    const page = newPage();
    const first = settled(page.qmt.hello());
    const second = settled(page.qmt.isRuntime());
    const [a, b] = page.posted;
    assert.strictEqual(page.listeners(), 2);
    page.reply({uuid: 'no-such-call', success: true, result: 1}); // touches no pending call
    assert.strictEqual(page.listeners(), 2);
    page.reply({uuid: b.uuid, success: true, result: true});
    assert.strictEqual(page.listeners(), 1);
    page.reply({uuid: a.uuid, success: true, result: '2023.3'});
    assert.strictEqual(page.listeners(), 0);
    assert.deepStrictEqual(await first, {ok: '2023.3'});
    assert.deepStrictEqual(await second, {ok: true});
});

test('a failure reply rejects with its result text', async () => {
    const page = newPage();
    const call = settled(page.qmt.mainMenu.setItems({}));
    page.reply({uuid: page.posted[0].uuid, success: false, result: 'Missing menu items'});
    assert.deepStrictEqual(await call, {error: 'Missing menu items'});
});

test('a call without a reply stays pending', async () => {
    const page = newPage();
    let done = false;
    page.qmt.hello().then(() => { done = true; }, () => { done = true; });
    await tick();
    assert.strictEqual(done, false);
});

test('shim: a listener that removes itself during a dispatch skips no other', () => {
    const page = newPage();
    const order = [];
    const first = () => { order.push('first'); page.webview.removeEventListener('message', first); };
    const second = () => order.push('second');
    page.webview.addEventListener('message', first);
    page.webview.addEventListener('message', second);
    page.webview.addEventListener('message', second); // added twice, called once
    page.reply({uuid: 'x'});
    page.reply({uuid: 'y'});
    assert.deepStrictEqual(order, ['first', 'second', 'second']);
});

test('shim: a listener removed by an earlier one in the same dispatch is not called', () => {
    const page = newPage();
    const order = [];
    const later = () => order.push('later');
    page.webview.addEventListener('message', () => { order.push('remover'); page.webview.removeEventListener('message', later); });
    page.webview.addEventListener('message', later);
    page.reply({});
    assert.deepStrictEqual(order, ['remover']);
});

test('shim: a throwing listener does not keep the reply from the others', async () => {
    const deferred = [];
    const page = newPage({setTimeout: (fn) => deferred.push(fn)});
    const call = page.qmt.hello();
    page.webview.addEventListener('message', () => { throw new Error('listener failed'); });
    page.reply({uuid: page.posted[0].uuid, success: true, result: '2023.3'});
    assert.strictEqual(await call, '2023.3');
    // The error is not swallowed: it is rethrown on its own, after the dispatch.
    assert.strictEqual(deferred.length, 1);
    assert.throws(deferred[0], /listener failed/);
});

test('shim: postMessage sends JSON text through the relay, a string staying a JSON string', () => {
    const sent = [];
    const context = newWindow((t) => sent.push(t));
    vm.runInContext('chrome.webview.postMessage("qmt-webbrowser-clicked"); chrome.webview.postMessage({id: 1, data: [1.5]});', context);
    assert.deepStrictEqual(sent, ['"qmt-webbrowser-clicked"', '{"id":1,"data":[1.5]}']);
});

test('relay: messages wait for the key, then go in order; a relay never started sends nothing', () => {
    const sent = [];
    const target = new EventTarget();
    const context = {JSON, CustomEvent, addEventListener: target.addEventListener.bind(target),
        dispatchEvent: target.dispatchEvent.bind(target), webkit: {messageHandlers: {qmt: {postMessage: (t) => sent.push(t)}}}};
    context.window = context;
    vm.createContext(context);
    vm.runInContext(relayText, context);
    vm.runInContext(shimText, context);
    vm.runInContext('chrome.webview.postMessage({n: 1}); chrome.webview.postMessage({n: 2});', context);
    assert.deepStrictEqual(sent, [], 'a popup: our scripts, but no key');
    vm.runInContext('__velmoraRelay.start("k"); chrome.webview.postMessage({n: 3});', context);
    assert.deepStrictEqual(sent, ['k\n{"n":1}', 'k\n{"n":2}', 'k\n{"n":3}']);
});

test('shim: a frame without the relay posts nothing, and the relay takes only text', () => {
    const sent = [];
    const frame = newWindow((t) => sent.push(t), false);
    vm.runInContext('chrome.webview.postMessage({id: 50001, uuid: "u", data: {}});', frame);
    assert.deepStrictEqual(sent, []);
    const top = newWindow((t) => sent.push(t));
    vm.runInContext('dispatchEvent(new CustomEvent("velmora:post", {detail: {id: 50001}}));', top);
    assert.deepStrictEqual(sent, []);
});

test('default event handlers: onCloseQuery calls app.close, the others do nothing', () => {
    const page = newPage();
    page.qmt.events.onCloseQuery();
    assert.strictEqual(page.posted.length, 1);
    assert.strictEqual(page.posted[0].id, 50001);
    assert.deepStrictEqual(page.posted[0].data, {});
    page.qmt.events.onMainMenuItemClick('7');
    page.qmt.events.onTrayMenuItemClick('7');
    page.qmt.events.onTrayIconClick();
    page.qmt.events.onNotificationClick('n');
    assert.strictEqual(page.posted.length, 1);
});
