// Talks to the host through window.qmt when the page runs inside the Velmora runtime.
(async function () {
  const runtime = document.getElementById('runtime');
  const version = document.getElementById('version');
  if (!window.qmt) {
    runtime.textContent = 'not inside Velmora (plain browser)';
    return;
  }
  runtime.textContent = (await qmt.isRuntime()) ? 'Velmora runtime' : 'unknown host';
  version.textContent = await qmt.hello();
  document.getElementById('close').addEventListener('click', () => qmt.app.close());
})();
