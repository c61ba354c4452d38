// Loads every kind of resource the way a web app does and reports the outcome as the document
// title: "RESULT " and JSON, and throws one uncaught error. Downloads start on keys, as a user's
// action: "s" a payload file through a link with a download attribute, "d" a blob, as a PDF
// viewer's Save makes it.
'use strict';

console.log('x');

function withTimeout(promise, ms, label) {
    return Promise.race([promise, new Promise(function (_, reject) {
        setTimeout(function () { reject(new Error(label + ': timed out')); }, ms);
    })]);
}

function imageSize(img) {
    return new Promise(function (resolve) {
        function done() { resolve(img.naturalWidth + 'x' + img.naturalHeight); }
        if (img.complete) done();
        else { img.onload = done; img.onerror = function () { resolve('error'); }; }
    });
}

// Plays element until its time passes 1 s; then (when seekTo is given) seeks there.
function playPastOneSecond(element, seekTo) {
    return new Promise(function (resolve, reject) {
        var seen = {playing: false};
        element.addEventListener('playing', function () { seen.playing = true; });
        element.addEventListener('error', function () {
            reject(new Error('media error ' + (element.error && element.error.code)));
        });
        element.addEventListener('timeupdate', function tick() {
            if (element.currentTime <= 1) return;
            element.removeEventListener('timeupdate', tick);
            seen.time = element.currentTime > 1;
            seen.duration = Math.round(element.duration);
            if (seekTo === undefined) return resolve(seen);
            element.addEventListener('seeked', function () {
                seen.seeked = Math.abs(element.currentTime - seekTo) < 0.5;
                resolve(seen);
            }, {once: true});
            element.currentTime = seekTo;
        });
        element.play().catch(reject);
    });
}

async function check(r, name, work) {
    try {
        r[name] = await withTimeout(work(), 30000, name);
    } catch (e) {
        r[name] = 'error: ' + e.message;
    }
}

window.addEventListener('load', async function () {
    var r = {};
    await Promise.all([
        check(r, 'css', async function () { return getComputedStyle(document.getElementById('styled')).color; }),
        check(r, 'font', async function () {
            var faces = await document.fonts.load('16px Accent');
            return faces.length === 1 ? faces[0].status : 'no face';
        }),
        check(r, 'img', async function () { return await imageSize(document.getElementById('accented')); }),
        check(r, 'imgMixed', async function () { return await imageSize(document.getElementById('mixed')); }),
        check(r, 'link', function () {
            return new Promise(function (resolve) {
                window.addEventListener('message', function (e) { resolve(e.data); });
                document.getElementById('link').click();
            });
        }),
        check(r, 'fetch', async function () {
            var response = await fetch('data/' + encodeURIComponent('naïve&co+1.json'));
            return (await response.json()).word;
        }),
        check(r, 'wasm', async function () {
            var module = await WebAssembly.instantiateStreaming(fetch('wasm/add.wasm'));
            return module.instance.exports.add(2, 3);
        }),
        check(r, 'missing', async function () {
            var response = await fetch('no such file.txt');
            return [response.status, response.ok, (await response.text()).length];
        }),
        check(r, 'length', async function () {
            var response = await fetch('data/bytes.bin');
            return [response.status, response.headers.get('Content-Length'), (await response.arrayBuffer()).byteLength];
        }),
        check(r, 'range', async function () {
            var response = await fetch('data/bytes.bin', {headers: {Range: 'bytes=10-19'}});
            var bytes = Array.from(new Uint8Array(await response.arrayBuffer()));
            return [response.status, response.headers.get('Content-Range'), bytes];
        }),
        check(r, 'video', function () { return playPastOneSecond(document.getElementById('video'), 2); }),
        check(r, 'audio', function () { return playPastOneSecond(document.getElementById('audio')); }),
        check(r, 'newAudio', function () { return playPastOneSecond(new Audio('media/son+1.webm')); }),
    ]);
    document.getElementById('video').pause();
    document.getElementById('audio').pause();
    document.title = 'RESULT ' + JSON.stringify(r);
    setTimeout(function () { throw new Error('boom'); }, 0);
});

window.addEventListener('keydown', function (e) {
    if (e.key === 's') document.getElementById('save').click();
    if (e.key !== 'd') return;
    var blob = new Blob(['%PDF-1.4 generated\n'], {type: 'application/pdf'});
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = 'generated.pdf';
    document.body.appendChild(a);
    a.click();
});
