// Velmora on WebKitGTK: links with a download attribute to the app's own files. The engine does
// nothing on such a link to a custom scheme (it neither downloads nor navigates), so the file is
// fetched and downloaded as a blob under the name the link gives, or its own name. The host then
// asks where it goes, as for any download.
(function () {
    'use strict';
    if (typeof window.fetch !== 'function') return;
    var appProtocol = 'qmt:';
    var nativeFetch = window.fetch.bind(window);

    function fileName(href) {
        var path = new URL(href).pathname;
        var name = path.slice(path.lastIndexOf('/') + 1);
        try { return decodeURIComponent(name); } catch (e) { return name; }
    }
    // After the page's own handlers: a link whose click the page took over is left alone.
    window.addEventListener('click', function (event) {
        if (event.defaultPrevented || !(event.target instanceof Element)) return;
        var link = event.target.closest('a[download], area[download]');
        if (link === null || typeof link.href !== 'string' ||
            link.href.slice(0, appProtocol.length).toLowerCase() !== appProtocol)
            return;
        event.preventDefault();
        var href = link.href;
        var name = link.getAttribute('download') || fileName(href);
        nativeFetch(href).then(function (response) {
            if (!response.ok) throw new Error(response.status + ' ' + href);
            return response.blob();
        }).then(function (blob) {
            var url = URL.createObjectURL(blob);
            var save = document.createElement('a');
            save.href = url;
            save.download = name;
            save.click();
            // The download has read the blob long before.
            setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
        }).catch(function (error) {
            console.error('Download failed: ' + error.message);
        });
    });
})();
