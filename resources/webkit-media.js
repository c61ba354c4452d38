// Velmora on WebKitGTK: media of the app scheme. The engine's media backend cannot read custom
// schemes (it fails with MEDIA_ERR_SRC_NOT_SUPPORTED), so every qmt: source given to <video>,
// <audio>, <source> or new Audio() is fetched and handed to the element as a blob URL, which the
// backend plays and seeks in. The element's src still reads the URL the page gave; currentSrc
// names the blob. A file fetched once serves every later element of the document.
(function () {
    'use strict';
    if (typeof HTMLMediaElement === 'undefined' || typeof window.fetch !== 'function') return;
    var appProtocol = 'qmt:';
    var nativeFetch = window.fetch.bind(window);
    var createObjectURL = URL.createObjectURL.bind(URL);
    var setAttribute = Element.prototype.setAttribute;
    var getAttribute = Element.prototype.getAttribute;
    var removeAttribute = Element.prototype.removeAttribute;
    var mediaSrc = Object.getOwnPropertyDescriptor(HTMLMediaElement.prototype, 'src');
    var sourceSrc = Object.getOwnPropertyDescriptor(HTMLSourceElement.prototype, 'src');
    var given = new WeakMap();   // element -> the app URL the page gave it
    var pending = new WeakMap(); // element -> its latest hand-over (a promise), so a later src wins
    var blobs = new Map();       // absolute URL -> promise of its blob URL

    function absolute(url) {
        try { return new URL(url, document.baseURI).href; } catch (e) { return null; }
    }
    function isAppUrl(url) {
        var href = absolute(url);
        return href !== null && href.slice(0, appProtocol.length).toLowerCase() === appProtocol;
    }
    function blobUrlOf(href) {
        if (!blobs.has(href)) {
            var loading = nativeFetch(href).then(function (response) {
                if (!response.ok) throw new Error(response.status + ' ' + href);
                return response.blob();
            }).then(createObjectURL);
            // A failure is not kept: the file may be there next time.
            loading.catch(function () { blobs.delete(href); });
            blobs.set(href, loading);
        }
        return blobs.get(href);
    }
    function isMediaSource(element) {
        return element instanceof HTMLSourceElement && element.parentNode instanceof HTMLMediaElement;
    }
    function handOver(element, url) {
        var href = absolute(url);
        given.set(element, href);
        var handover = blobUrlOf(href).then(function (blobUrl) {
            return blobUrl;
        }, function () {
            // The element fails with the page's own URL, as it would in a browser.
            return url;
        }).then(function (src) {
            if (pending.get(element) !== handover) return;
            pending.delete(element);
            setAttribute.call(element, 'src', src);
            // A <source> is read when its element loads: load again with the blob in place.
            if (isMediaSource(element)) element.parentNode.load();
        });
        pending.set(element, handover);
    }
    function forget(element) {
        given.delete(element);
        pending.delete(element);
    }
    function srcProperty(native) {
        return {
            configurable: true,
            enumerable: native.enumerable,
            get: function () {
                return given.has(this) ? given.get(this) : native.get.call(this);
            },
            set: function (value) {
                value = String(value);
                if (isAppUrl(value)) return handOver(this, value);
                forget(this);
                native.set.call(this, value);
            }
        };
    }
    Object.defineProperty(HTMLMediaElement.prototype, 'src', srcProperty(mediaSrc));
    // play() right after src (new Audio(url).play()) waits for the hand-over: the load that
    // setting the blob starts would abort it otherwise.
    var nativePlay = HTMLMediaElement.prototype.play;
    HTMLMediaElement.prototype.play = function () {
        var element = this;
        var waiting = pending.get(element);
        if (waiting === undefined) {
            var source = element.querySelector('source');
            waiting = source !== null ? pending.get(source) : undefined;
        }
        if (waiting === undefined) return nativePlay.apply(element, arguments);
        return waiting.then(function () { return nativePlay.call(element); });
    };
    Object.defineProperty(HTMLSourceElement.prototype, 'src', srcProperty(sourceSrc));

    Element.prototype.setAttribute = function (name, value) {
        if ((this instanceof HTMLMediaElement || this instanceof HTMLSourceElement) &&
            String(name).toLowerCase() === 'src') {
            if (isAppUrl(String(value))) return handOver(this, String(value));
            forget(this);
        }
        return setAttribute.apply(this, arguments);
    };

    // Markup (the parser, innerHTML) sets attributes without the calls above: take app sources
    // away before the element's load gets to them, and hand them over.
    var selector = 'video[src], audio[src], source[src]';
    function scan(node) {
        if (node.nodeType !== 1) return;
        var found = node.matches(selector) ? [node] : [];
        found.push.apply(found, node.querySelectorAll(selector));
        found.forEach(function (element) {
            var value = getAttribute.call(element, 'src');
            if (!value || !isAppUrl(value)) return;
            if (element instanceof HTMLSourceElement && !isMediaSource(element)) return;
            removeAttribute.call(element, 'src');
            handOver(element, value);
        });
    }
    new MutationObserver(function (records) {
        records.forEach(function (record) {
            if (record.type === 'attributes') scan(record.target);
            else record.addedNodes.forEach(scan);
        });
    }).observe(document, {childList: true, subtree: true, attributes: true, attributeFilter: ['src']});

    // new Audio(url) sets its source inside the engine: build it through the src property.
    var NativeAudio = window.Audio;
    if (typeof NativeAudio === 'function') {
        var Audio = function Audio(src) {
            var audio = new NativeAudio();
            setAttribute.call(audio, 'preload', 'auto');
            if (src !== undefined) audio.src = src;
            return audio;
        };
        Audio.prototype = NativeAudio.prototype;
        window.Audio = Audio;
    }
})();
