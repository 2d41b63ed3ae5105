// The control-room page: one WebSocket to korvane-serve. Pictures of the
// cockpit's areas arrive as binary frames (a JSON header and a PNG), the
// clock, the MFD displays, the input box and the vessel list as JSON; what
// the user does goes back as JSON messages (see the server's README section
// on the protocol).
'use strict';

(() => {
  // What the page has received, for anyone curious (and the page's tests).
  const room = {
    hello: null,
    state: null,
    vessels: [],
    inputbox: { open: false },
    frames: [],      // the newest frames received: {stream, area, seq, bytes, texts}
    shown: {},       // per canvas id: the seq of the frame drawn on it
    closeReason: '',
  };
  window.controlRoom = room;

  const kFrameLog = 500;
  const kReconnectMs = 2000;
  // Keys the browser keeps for itself: reload, full screen, developer tools.
  const kBrowserKeys = new Set(['F5', 'F11', 'F12']);
  const kModifiers = new Set(['ControlLeft', 'ControlRight', 'ShiftLeft', 'ShiftRight', 'AltLeft', 'AltRight',
    'MetaLeft', 'MetaRight', 'CapsLock', 'NumLock', 'ScrollLock']);

  const $ = (id) => document.getElementById(id);
  const connection = $('connection');
  const dialog = $('inputbox');
  const boxText = $('inputbox-text');
  let ws = null;
  let knownKeys = new Set();

  function send(message) {
    if (ws && ws.readyState === WebSocket.OPEN)
      ws.send(JSON.stringify(message));
  }

  function setConnection(text, kind) {
    connection.textContent = text;
    connection.className = 'connection ' + kind;
  }

  // --- Frames ------------------------------------------------------------

  function frameTarget(header) {
    if (header.stream === 'view') {
      $('view').hidden = false;
      return $('view-canvas');
    }
    if (header.stream === 'area')
      return $('area-' + header.area);
    return null;
  }

  async function showFrame(buffer) {
    const view = new DataView(buffer);
    if (buffer.byteLength < 4)
      return;
    const n = view.getUint32(0, true);
    if (4 + n > buffer.byteLength)
      return;
    const header = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, n)));
    const image = new Blob([new Uint8Array(buffer, 4 + n)], { type: 'image/' + header.format });
    room.frames.push({ stream: header.stream, area: header.area, seq: header.seq, bytes: image.size,
      texts: header.texts });
    if (room.frames.length > kFrameLog)
      room.frames.splice(0, room.frames.length - kFrameLog);
    const canvas = frameTarget(header);
    if (!canvas)
      return;
    const bitmap = await createImageBitmap(image);
    // Decoding is asynchronous: never let an older frame overdraw a newer one.
    if ((room.shown[canvas.id] || 0) > header.seq) {
      bitmap.close();
      return;
    }
    room.shown[canvas.id] = header.seq;
    if (canvas.width !== header.width || canvas.height !== header.height) {
      canvas.width = header.width;
      canvas.height = header.height;
    }
    canvas.getContext('2d').drawImage(bitmap, 0, 0);
    bitmap.close();
    canvas.dataset.seq = String(header.seq);
    canvas.dataset.texts = JSON.stringify(header.texts || []);
    const name = canvas.getAttribute('aria-label').split(':')[0];
    canvas.setAttribute('aria-label', header.texts && header.texts.length ? name + ': ' + header.texts.join(' / ') : name);
  }

  // --- Text messages -------------------------------------------------------

  function formatSimTime(seconds) {
    const days = Math.floor(seconds / 86400);
    let rest = seconds - days * 86400;
    const h = Math.floor(rest / 3600);
    rest -= h * 3600;
    const m = Math.floor(rest / 60);
    const s = rest - m * 60;
    const two = (x) => String(x).padStart(2, '0');
    return (days ? days + 'd ' : '') + two(h) + ':' + two(m) + ':' + s.toFixed(1).padStart(4, '0');
  }

  function formatWarp(warp) {
    return (warp >= 1 ? String(Math.round(warp)) : String(warp)) + '\u00d7';
  }

  function showState(s) {
    room.state = s;
    $('mjd').textContent = s.mjd.toFixed(6);
    $('simtime').textContent = formatSimTime(s.simTime);
    $('warp').textContent = formatWarp(s.warp);
    $('focus').textContent = s.focus ? '\u00b7 ' + s.focus : '';
    const pause = $('pause');
    pause.textContent = s.paused ? 'Resume' : 'Pause';
    pause.setAttribute('aria-pressed', s.paused ? 'true' : 'false');
    setConnection('live \u00b7 ' + Math.round(s.framesPerSecond) + ' frames/s' + (s.paused ? ' \u00b7 paused' : ''),
      'live');
  }

  function showMfd(m) {
    const display = $('mfd-' + m.mfd);
    if (!display)
      return;
    display.querySelector('.mfd-title').textContent = m.on ? m.title : '';
    display.querySelector('.mfd-lines').textContent = m.on ? m.lines.join('\n') : '';
    display.dataset.on = m.on ? 'true' : 'false';
  }

  function showInputBox(box) {
    const wasOpen = room.inputbox.open;
    room.inputbox = box;
    if (!box.open) {
      if (dialog.open)
        dialog.close();
      return;
    }
    $('inputbox-title').textContent = box.title;
    boxText.size = Math.max(box.visibleLength || 20, 10);
    const rejected = $('inputbox-rejected');
    rejected.hidden = !box.rejected;
    rejected.textContent = box.rejected ? 'Not accepted: \u201c' + box.rejected + '\u201d' : '';
    if (!wasOpen) {
      boxText.value = box.text || '';
      if (!dialog.open)
        dialog.showModal();
      boxText.focus();
    }
  }

  function showVessels(names) {
    room.vessels = names;
    const list = $('vessel-names');
    list.replaceChildren(...names.map((name) => {
      const option = document.createElement('option');
      option.value = name;
      return option;
    }));
  }

  function onText(text) {
    const m = JSON.parse(text);
    switch (m.type) {
      case 'hello':
        room.hello = m;
        knownKeys = new Set(m.keys);
        boxText.maxLength = m.limits.maxTextBytes;
        if (m.view && m.view.width && m.view.height)
          $('view-canvas').style.aspectRatio = m.view.width + ' / ' + m.view.height;
        break;
      case 'state': showState(m); break;
      case 'mfd': showMfd(m); break;
      case 'inputbox': showInputBox(m); break;
      case 'vessels': showVessels(m.names); break;
      default: break;
    }
  }

  // --- The connection --------------------------------------------------------

  function connect() {
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    ws = new WebSocket(scheme + location.host + '/ws');
    ws.binaryType = 'arraybuffer';
    ws.onopen = () => setConnection('live', 'live');
    ws.onmessage = (event) => {
      if (typeof event.data === 'string')
        onText(event.data);
      else
        showFrame(event.data).catch(() => {});
    };
    ws.onclose = (event) => {
      room.closeReason = event.reason;
      setConnection('closed' + (event.reason ? ': ' + event.reason : '') + ' \u00b7 reconnecting', 'closed');
      room.inputbox = { open: false };
      if (dialog.open)
        dialog.close();
      setTimeout(connect, kReconnectMs);
    };
  }

  // --- What the user does ------------------------------------------------------

  for (const id of ['area-300', 'area-303']) {
    const canvas = $(id);
    canvas.addEventListener('click', (event) => {
      // Where on the picture, from its top-left corner, inside the border.
      const r = canvas.getBoundingClientRect();
      const border = canvas.clientLeft;
      const u = (event.clientX - r.left - border) / canvas.clientWidth;
      const v = (event.clientY - r.top - canvas.clientTop) / canvas.clientHeight;
      if (u < 0 || u > 1 || v < 0 || v > 1)
        return;
      send({ type: 'click', area: Number(id.slice(5)), u, v });
    });
  }

  function pressKey(code, ctrl, alt, shift) {
    send({ type: 'key', code, ctrl, alt, shift });
  }

  document.addEventListener('keydown', (event) => {
    if (dialog.open || event.repeat)
      return;
    const target = event.target;
    if (target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA'))
      return;
    if (kModifiers.has(event.code) || kBrowserKeys.has(event.code) || !knownKeys.has(event.code))
      return;
    // Where the browser lets it (it keeps Ctrl+T, Ctrl+N and Ctrl+W for
    // itself in a normal window), the key is the control room's alone.
    event.preventDefault();
    pressKey(event.code, event.ctrlKey, event.altKey, event.shiftKey);
  });

  // A click on the 3D view: the pixel of the view's picture under the
  // pointer, which the server casts a ray through, as the simulator does.
  const viewCanvas = $('view-canvas');
  viewCanvas.addEventListener('click', (event) => {
    const view = room.hello && room.hello.view;
    if (!view || !view.width || !view.height)
      return;
    const r = viewCanvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - r.left - viewCanvas.clientLeft) / viewCanvas.clientWidth * view.width);
    const y = Math.floor((event.clientY - r.top - viewCanvas.clientTop) / viewCanvas.clientHeight * view.height);
    if (x < 0 || x >= view.width || y < 0 || y >= view.height)
      return;
    send({ type: 'viewclick', x, y });
  });

  $('ctrl-t').addEventListener('click', () => pressKey('KeyT', true, false, false));
  $('pause').addEventListener('click', () => send({ type: 'pause', paused: !(room.state && room.state.paused) }));

  function setWarp(factor) {
    if (!room.state || !room.hello)
      return;
    const limits = room.hello.limits;
    const warp = factor === 0 ? 1 : Math.min(limits.maxWarp, Math.max(limits.minWarp, Number((room.state.warp * factor).toPrecision(6))));
    send({ type: 'warp', warp });
  }
  $('warp-down').addEventListener('click', () => setWarp(0.1));
  $('warp-up').addEventListener('click', () => setWarp(10));
  $('warp-real').addEventListener('click', () => setWarp(0));

  $('inputbox-form').addEventListener('submit', (event) => {
    // The box stays until the module has taken the text: a name it turns
    // down leaves it open.
    event.preventDefault();
    send({ type: 'text', text: boxText.value });
  });
  dialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    send({ type: 'cancel' });
  });
  $('inputbox-cancel').addEventListener('click', () => send({ type: 'cancel' }));

  connect();
})();
