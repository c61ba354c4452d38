// The window operations, one step at a time. After each step the page reports its results as
// the document title ("STEP <n> <json>", the caption with DynamicAppTitle) and waits until the
// test, having read the window back from X, leaves the file go-<n>.txt beside the executable.
// A step that sets the caption itself is reported once the test saw that caption.
"use strict";

function sleep(ms) { return new Promise(function (resolve) { setTimeout(resolve, ms); }); }

async function waitForGo(n) {
    for (;;) {
        try {
            var answer = await fetch("go-" + n + ".txt?t=" + Date.now(), {cache: "no-store"});
            if (answer.ok) return (await answer.text()).trim();
        } catch (e) { /* not there yet */ }
        await sleep(100);
    }
}

var stepNumber = 0;
async function report(name, results) {
    stepNumber += 1;
    document.title = "STEP " + stepNumber + " " + JSON.stringify({step: name, results: results});
    return waitForGo(stepNumber);
}

async function size() { return await qmt.window.getSize(); }

// Each step: [name, async function giving its results].
var mainSteps = [
    ["start", async function () {
        return {hello: await qmt.hello(), isRuntime: await qmt.isRuntime(), inFullscreen: await qmt.app.inFullscreen(),
                args: await qmt.app.getArgs(), style: await qmt.window.getStyle(), state: await qmt.window.getState(),
                border: await qmt.window.getBorder(), title: await qmt.window.getTitle(), size: await size(),
                zoom: await qmt.window.getZoom()};
    }],
    ...["none", "single", "dialog", "toolwindow", "sizetoolwindow", "sizeable"].map(function (word) {
        return ["border " + word, async function () {
            return {set: await qmt.window.setBorder({border: word}), border: await qmt.window.getBorder(),
                    size: await size()};
        }];
    }),
    ["border kept", async function () {
        return {unknown: await qmt.window.setBorder({border: "Dialog"}), empty: await qmt.window.setBorder({border: ""}),
                border: await qmt.window.getBorder()};
    }],
    ...["maximized", "minimized", "normal"].map(function (word) {
        return ["state " + word, async function () {
            return {set: await qmt.window.setState({state: word}), state: await qmt.window.getState(), size: await size()};
        }];
    }),
    ["state kept", async function () {
        return {unknown: await qmt.window.setState({state: "Maximized"}), empty: await qmt.window.setState({state: ""}),
                state: await qmt.window.getState()};
    }],
    ["user maximised", async function () {
        return {state: await qmt.window.getState(), size: await size()};
    }],
    ["user restored", async function () {
        return {set: await qmt.window.setState({state: "normal"}), state: await qmt.window.getState(), size: await size()};
    }],
    ["user resized", async function () {
        return {state: await qmt.window.getState(), size: await size()};
    }],
    ["ontop", async function () {
        return {set: await qmt.window.setStyle({style: "ontop"}), style: await qmt.window.getStyle()};
    }],
    ["ontop upper case is normal", async function () {
        return {set: await qmt.window.setStyle({style: "ONTOP"}), style: await qmt.window.getStyle()};
    }],
    ["title", async function () {
        // Reported after the test saw the caption.
        return {set: await qmt.window.setTitle({title: "Fenster \u00fcber \"alles\""}), title: await qmt.window.getTitle()};
    }, "Fenster \u00fcber \"alles\""],
    ["title emptied", async function () {
        return {set: await qmt.window.setTitle({}), title: await qmt.window.getTitle()};
    }, ""],
    ["zoom", async function () {
        var before = window.innerWidth;
        var r = {set: await qmt.window.setZoom({factor: 1.5}), zoom: await qmt.window.getZoom()};
        await sleep(300);
        r.widthRatio = before / window.innerWidth;
        r.comma = await qmt.window.setZoom({factor: "1,5"});
        r.reset = await qmt.window.getZoom();
        await sleep(300);
        r.widthAfterReset = window.innerWidth / before;
        r.text = await qmt.window.setZoom({factor: "1.25"});
        r.textZoom = await qmt.window.getZoom();
        await qmt.window.setZoom({factor: 1});
        return r;
    }],
    ["set size", async function () {
        return {set: await qmt.window.setSize({left: 100, top: 80, width: 700, height: 500}), size: await size()};
    }],
    ["set width only", async function () {
        return {set: await qmt.window.setSize({width: 640}), size: await size()};
    }],
    ["fullscreen", async function () {
        qmt.app.enterFullscreen(); // no reply: the next answer comes after it
        var r = {inFullscreen: await qmt.app.inFullscreen(), border: await qmt.window.getBorder(),
                 state: await qmt.window.getState(), size: await size()};
        qmt.app.enterFullscreen();
        r.again = {inFullscreen: await qmt.app.inFullscreen(), state: await qmt.window.getState(), size: await size()};
        return r;
    }],
    ["border and state in full screen", async function () {
        await qmt.window.setBorder({border: "single"});
        await qmt.window.setState({state: "normal"});
        return {inFullscreen: await qmt.app.inFullscreen(), border: await qmt.window.getBorder(),
                state: await qmt.window.getState()};
    }],
    ["fullscreen left", async function () {
        await qmt.window.setState({state: "maximized"});
        qmt.app.exitFullscreen();
        var r = {inFullscreen: await qmt.app.inFullscreen(), border: await qmt.window.getBorder(),
                 state: await qmt.window.getState()};
        qmt.app.exitFullscreen();
        r.again = {inFullscreen: await qmt.app.inFullscreen(), state: await qmt.window.getState()};
        // Placed right after the restore: the window manager's own restore must not undo it.
        r.setSize = await qmt.window.setSize({left: 60, top: 40, width: 720, height: 520});
        r.size = await size();
        return r;
    }],
];

// Started with WindowStyle=1: full screen from the settings.
var fullscreenSteps = [
    ["start", async function () {
        return {inFullscreen: await qmt.app.inFullscreen(), args: await qmt.app.getArgs(),
                border: await qmt.window.getBorder(), state: await qmt.window.getState(), size: await size()};
    }],
    ["zoom", async function () {
        return {set: await qmt.window.setZoom({factor: "1.5"}), zoom: await qmt.window.getZoom(),
                comma: await qmt.window.setZoom({factor: "1,5"}), reset: await qmt.window.getZoom()};
    }],
    ["fullscreen left", async function () {
        qmt.app.exitFullscreen();
        return {inFullscreen: await qmt.app.inFullscreen(), border: await qmt.window.getBorder(),
                state: await qmt.window.getState(), size: await size()};
    }],
];

async function run() {
    var steps = location.search.indexOf("fullscreen") >= 0 || (await qmt.app.inFullscreen()) ? fullscreenSteps : mainSteps;
    for (var i = 0; i < steps.length; i++) {
        var name = steps[i][0], results;
        try {
            results = await steps[i][1]();
        } catch (e) {
            results = {error: String(e)};
        }
        if (steps[i].length > 2) {
            // The caption is the step's own: the test waits for it, then gives the go.
            stepNumber += 1;
            await waitForGo(stepNumber);
        }
        await report(name, results);
    }
    document.title = "DONE";
}

window.addEventListener("load", function () { run(); });
