// The World panel: the world table of a leaderboard server (kolvane-server,
// docs/server.md) beside the page's own games, the player's name, each kept
// game submitted with its verdict, and the ticket a session starts from.
//
// Which server: the one the player names (kept in localStorage); else the
// page's own, when the page came from kolvane-server --web (its files say so
// in a Server-Timing header, read without a request); else none, and then
// nothing here sends a single request.
//
// Everything a server sends is untrusted: answers are size-checked and
// validated field by field, every request has a time-out, and server text is
// only ever set as textContent.
(function () {
  var SERVER_ITEM = 'kolvane.world-server';
  var NAME_ITEM = 'kolvane.world-name';
  var KEY_ITEM = 'kolvane.world-key';
  // Time-outs (ms): the ticket delays the game's start by at most its own.
  var TICKET_MS = 2000;
  var CALL_MS = 10000;
  var FILE_MS = 30000;
  // The largest answers read: JSON, and a recording (the server's own cap).
  var MAX_JSON_BYTES = 256 << 10;
  var MAX_RECORDING_BYTES = 2 << 20;
  // A verdict is asked for this many times, once a second.
  var POLLS = 30;
  var POLL_MS = 1000;
  var ID = /^[0-9a-f]{64}$/;

  var kolvane = Module.kolvane;
  var panel = document.getElementById('world');
  var statusLine = document.getElementById('world-status');
  var serverField = document.getElementById('world-server');
  var nameField = document.getElementById('world-name');
  var body = document.querySelector('#world-table tbody');
  var verdicts = {};  // recording name -> the verdict's line
  var unranked = '';  // why this session's games can't rank, when they can't

  function item(name) {
    try {
      return localStorage.getItem(name);
    } catch (e) {
      return null;
    }
  }
  function keep(name, value) {
    try {
      if (value) localStorage.setItem(name, value);
      else localStorage.removeItem(name);
      return true;
    } catch (e) {
      return false;
    }
  }
  function say(text) {
    statusLine.textContent = text + unranked;
  }

  // The server's base URL (no trailing slash), or '' for none.
  function normalised(text) {
    var url;
    try {
      url = new URL(text);
    } catch (e) {
      return '';
    }
    if (url.protocol !== 'http:' && url.protocol !== 'https:') return '';
    return url.origin + url.pathname.replace(/\/+$/, '');
  }
  function fromLeaderboard() {
    var load = window.performance && performance.getEntriesByType &&
      performance.getEntriesByType('navigation')[0];
    return !!(load && load.serverTiming &&
      load.serverTiming.some(function (entry) { return entry.name === 'kolvane-leaderboard'; }));
  }
  var ownServer = fromLeaderboard() ? normalised(location.href.replace(/[?#].*$/, '').replace(/[^/]*$/, '')) : '';
  var named = (item(SERVER_ITEM) || '').trim();
  var server = named ? normalised(named) : ownServer;

  // Reads at most limit bytes of an answer, as text.
  function readText(response, limit) {
    if (Number(response.headers.get('Content-Length')) > limit) return Promise.reject(new Error('the answer is too large'));
    if (!response.body) return Promise.resolve('');
    var reader = response.body.getReader();
    var parts = [];
    var size = 0;
    function next() {
      return reader.read().then(function (part) {
        if (part.done) {
          var bytes = new Uint8Array(size);
          var at = 0;
          parts.forEach(function (p) { bytes.set(p, at); at += p.length; });
          return new TextDecoder().decode(bytes);
        }
        size += part.value.length;
        if (size > limit) {
          reader.cancel();
          throw new Error('the answer is too large');
        }
        parts.push(part.value);
        return next();
      });
    }
    return next();
  }

  // One request to the server: {status, json (an object or null), text}.
  function call(method, path, options) {
    options = options || {};
    var controller = new AbortController();
    var timer = setTimeout(function () { controller.abort(); }, options.ms || CALL_MS);
    return fetch(server + path, {
      method: method, headers: options.headers || {}, body: options.body, signal: controller.signal,
      cache: 'no-store', credentials: 'omit', redirect: 'error',
    }).then(function (response) {
      return readText(response, options.limit || MAX_JSON_BYTES).then(function (text) {
        var json = null;
        if (/^application\/json/.test(response.headers.get('Content-Type') || '')) {
          try {
            json = JSON.parse(text);
          } catch (e) {
            json = null;
          }
        }
        return { status: response.status, json: json && typeof json === 'object' ? json : null, text: text };
      });
    }).catch(function (error) {
      // A page learns no more than this of a server that is down or whose
      // CORS refuses it: browsers keep pages from probing networks.
      if (error.name === 'AbortError') throw new Error('no answer in time');
      if (error instanceof TypeError) throw new Error('no answer');
      throw error;
    }).finally(function () { clearTimeout(timer); });
  }
  // What went wrong, in the server's words when it gave any (as text).
  function refusal(answer) {
    var error = answer.json && typeof answer.json.error === 'string' ? answer.json.error : '';
    return (error || 'the server answered ' + answer.status).slice(0, 300);
  }
  function whole(value) {
    return Number.isInteger(value) && value >= 0 && value <= 2147483647;
  }
  function words(value) {
    return typeof value === 'string' ? value.slice(0, 300) : '';
  }

  // --- the ticket -------------------------------------------------------------
  // Before the game's program loads: a ticket for this session (its clock and
  // token, which page.js hands the program), or, with no server or no answer
  // in time, nothing, and the session starts from the wall clock.
  function ticket() {
    if (!server) return Promise.resolve();
    return call('POST', '/api/tickets', { ms: TICKET_MS }).then(function (answer) {
      var json = answer.json;
      if (answer.status === 201 && json && whole(json.clock) && typeof json.ticket === 'string' &&
          /^[A-Za-z0-9._-]{1,200}$/.test(json.ticket)) {
        kolvane.ticket = { clock: json.clock, token: json.ticket };
      } else {
        unranked = ' No ticket for this session (' + refusal(answer) + '): its games will not rank.';
      }
    }, function (error) {
      unranked = ' No ticket for this session (' + error.message + '): its games will not rank.';
    });
  }

  // --- the world table --------------------------------------------------------
  function fileName(id) {
    return 'kolvane-' + id.slice(0, 16) + '.kolvane';
  }
  function fetchRecording(id) {
    return call('GET', '/api/recordings/' + id + '/file', { ms: FILE_MS, limit: MAX_RECORDING_BYTES }).then(function (answer) {
      if (answer.status !== 200) throw new Error(refusal(answer));
      return answer.text;
    });
  }
  function button(text, className, action) {
    var made = document.createElement('button');
    made.type = 'button';
    made.textContent = text;
    made.className = className;
    made.onclick = action;
    return made;
  }
  function entryOf(e) {
    if (!e || !whole(e.rank) || typeof e.player !== 'string' || !whole(e.score) || !whole(e.level) ||
        typeof e.date !== 'string' || typeof e.recording !== 'string' || !ID.test(e.recording)) return null;
    var date = /^\d{4}-\d\d-\d\dT\d\d:\d\d/.test(e.date) ? e.date.slice(0, 16).replace('T', ' ') + ' UTC' : '';
    return { rank: e.rank, player: e.player.slice(0, 64), score: e.score, level: e.level, date: date, id: e.recording };
  }
  function showEntry(entry) {
    var row = body.insertRow();
    row.dataset.recording = entry.id;
    [String(entry.rank), entry.player, String(entry.score), String(entry.level), entry.date].forEach(function (text) {
      row.insertCell().textContent = text;
    });
    var verify = document.createElement('a');
    verify.href = '#world-help';
    verify.textContent = 'Verify';
    verify.onclick = function () {
      document.getElementById('world-verify').textContent = 'curl -o ' + fileName(entry.id) + ' ' + server +
        '/api/recordings/' + entry.id + '/file && kolvane-sim --verify ' + fileName(entry.id);
    };
    row.insertCell().append(
      button('Watch', 'watch', function () {
        say('Fetching the recording...');
        fetchRecording(entry.id).then(function (text) { kolvane.watch(text, fileName(entry.id)); },
          function (error) { say('The recording can\'t be watched: ' + error.message); });
      }), ' ',
      button('Download', 'download', function () {
        fetchRecording(entry.id).then(function (text) { kolvane.saveFile(text, fileName(entry.id)); },
          function (error) { say('The recording can\'t be downloaded: ' + error.message); });
      }), ' ', verify);
  }
  // The top 100; resolves to the entries shown.
  function showTable() {
    say('Asking ' + server + ' for the world table...');
    return call('GET', '/api/scores?limit=100').then(function (answer) {
      if (answer.status !== 200 || !answer.json || !Array.isArray(answer.json.scores)) throw new Error(refusal(answer));
      var entries = answer.json.scores.slice(0, 100).map(entryOf).filter(Boolean);
      body.textContent = '';
      entries.forEach(showEntry);
      say(entries.length ? 'The world\'s best at ' + server + '.' : 'No games in the world table at ' + server + ' yet.');
      return entries;
    }).catch(function (error) {
      say(server + ': ' + error.message);
      return [];
    });
  }

  // --- submitting -------------------------------------------------------------
  // The player's secret key: made on the first submission, kept in
  // localStorage, sent only in the Authorization header, shown nowhere.
  function playerKey() {
    var key = item(KEY_ITEM);
    if (key && /^[A-Za-z0-9._~+\/=-]{16,128}$/.test(key)) return key;
    var bytes = new Uint8Array(32);
    crypto.getRandomValues(bytes);
    key = Array.from(bytes, function (b) { return (b + 256).toString(16).slice(1); }).join('');
    return keep(KEY_ITEM, key) ? key : null;
  }
  function verdict(name, text) {
    verdicts[name] = text;
    var cell = document.querySelector('#games tr[data-name="' + CSS.escape(name) + '"] .verdict');
    if (cell) cell.textContent = text;
  }
  function submit(name) {
    var player = nameField.value.trim();
    if (!player) {
      verdict(name, 'Your name first (above the world table).');
      nameField.focus();
      return;
    }
    keep(NAME_ITEM, player);
    var key = playerKey();
    if (!key) {
      verdict(name, 'This browser keeps nothing (localStorage is off), so your name could not be kept.');
      return;
    }
    verdict(name, 'Sending...');
    kolvane.kept(name).then(function (record) {
      if (!record) throw new Error('the recording is gone');
      return call('POST', '/api/recordings?player=' + encodeURIComponent(player), {
        headers: { 'Authorization': 'Bearer ' + key, 'Content-Type': 'text/plain; charset=utf-8' },
        body: record.text,
      });
    }).then(function (answer) {
      var id = answer.json && answer.json.id;
      if ((answer.status !== 200 && answer.status !== 202) || typeof id !== 'string' || !ID.test(id)) {
        verdict(name, 'refused: ' + refusal(answer));
        return;
      }
      follow(name, id, 1);
    }).catch(function (error) { verdict(name, 'not sent: ' + error.message); });
  }
  // The verdict, as the desktop's `kolvane --submit` prints it.
  function follow(name, id, polls) {
    call('GET', '/api/recordings/' + id).then(function (answer) {
      var json = answer.json;
      if (answer.status !== 200 || !json) throw new Error(refusal(answer));
      if (json.status === 'queued') {
        if (polls >= POLLS) {
          verdict(name, 'queued: not verified yet');
        } else {
          verdict(name, 'queued: being verified...');
          setTimeout(follow, POLL_MS, name, id, polls + 1);
        }
        return;
      }
      if (json.status !== 'verified') {
        verdict(name, 'rejected: ' + (words(json.reason) || 'no reason given'));
        return;
      }
      var games = Array.isArray(json.games) ? json.games.filter(function (g) { return g && whole(g.score); }) : [];
      if (!games.length) {
        verdict(name, 'verified: no game ended in this recording');
        return;
      }
      var line = 'verified: score ' + Math.max.apply(null, games.map(function (g) { return g.score; }));
      if (json.ranked !== true) {
        verdict(name, line + ', not ranked' + (words(json.unranked_reason) ? ': ' + words(json.unranked_reason) : ''));
        return;
      }
      showTable().then(function (entries) {
        var mine = entries.filter(function (e) { return e.id === id; })[0];
        verdict(name, line + (mine ? ', rank ' + mine.rank : ', ranked'));
      });
    }).catch(function (error) { verdict(name, 'no verdict: ' + error.message); });
  }

  // The page's list of its own games asks for each row's part (index.html).
  kolvane.worldActions = function (cell, record) {
    if (!server || !(record.games > 0)) return;
    var line = document.createElement('span');
    line.className = 'verdict';
    line.textContent = verdicts[record.name] || '';
    cell.append(' ', button('Submit', 'submit', function () { submit(record.name); }), ' ', line);
  };

  // --- the panel --------------------------------------------------------------
  // Typing a name or a server is not playing: the keys stay in the field, and
  // the game lets go of the keys it held (as when the window loses the focus).
  [serverField, nameField].forEach(function (field) {
    ['keydown', 'keyup'].forEach(function (type) {
      field.addEventListener(type, function (event) { event.stopPropagation(); });
    });
    field.addEventListener('focus', function () { window.dispatchEvent(new FocusEvent('blur')); });
  });
  nameField.value = item(NAME_ITEM) || '';
  nameField.addEventListener('change', function () { keep(NAME_ITEM, nameField.value.trim()); });
  serverField.value = named;
  serverField.placeholder = ownServer ? 'this page\'s server' : 'https://...';
  serverField.addEventListener('change', function () {
    var text = serverField.value.trim();
    keep(SERVER_ITEM, text);
    server = text ? normalised(text) : ownServer;
    if (text && !server) say(text + ' is not the address of a server (http:// or https://).');
    start();
  });
  document.getElementById('world-refresh').addEventListener('click', function () {
    if (server) showTable();
  });

  function start() {
    body.textContent = '';
    panel.classList.toggle('offline', !server);
    if (server) showTable();
    else if (!serverField.value.trim()) say('No server: name one to see the world table and submit your games.');
    // The list of the page's own games shows Submit with a server only.
    kolvane.recordings.changed();
  }

  kolvane.world = { ticket: ticket, start: start };
})();
