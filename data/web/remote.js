// The station's remote page: follows /api/events and presses the windows'
// buttons through the API. Plain script, no outside files, no cookies: the
// token lives in this browser's storage and goes out only as a header.
'use strict';

const $ = (id) => document.getElementById(id);
let token = localStorage.getItem('tavlo-token') || '';
let now = null;          // the last now-playing object
let nowAt = 0;           // when it arrived (performance.now())

// A token handed over in the address (#token=...) is kept and taken out of
// the address bar, so it is not left in the history.
(function takeTokenFromAddress() {
  const m = location.hash.match(/token=([A-Za-z0-9._~+/=-]+)/);
  if (m) {
    token = m[1];
    localStorage.setItem('tavlo-token', token);
    history.replaceState(null, '', location.pathname);
  }
})();

function headers() {
  return token ? { Authorization: 'Bearer ' + token } : {};
}

function clock(seconds) {
  seconds = Math.max(0, Math.floor(seconds));
  const m = Math.floor(seconds / 60), s = seconds % 60;
  return m + ':' + String(s).padStart(2, '0');
}

function say(text) {
  $('message').textContent = text || '';
}

function setLink(text, state) {
  const link = $('link');
  link.textContent = text;
  link.className = 'link ' + (state || '');
}

function renderNowPlaying(np) {
  now = np;
  nowAt = performance.now();
  const song = np.song;
  $('title').textContent = song ? song.title : 'Nothing on air';
  $('artist').textContent = song ? [song.artist, song.album].filter(Boolean).join(' \u2014 ') : '';
  $('window').textContent = np.onAir === 'insert' ? 'Insert on air' : 'On air';
  $('status').textContent = np.status;
  $('clock').textContent = (np.time || '').slice(11, 19);
  renderBreak(np.break);
  tick();
}

function renderBreak(b) {
  const el = $('break');
  if (!b) return;
  const texts = {
    'idle': 'Idle',
    'counting-down': 'Prepared \u2014 starts in ' + clock(b.countdown),
    'waiting-for-song': 'Prepared \u2014 starts at the song\u2019s end',
    'on-air': 'On air',
  };
  el.textContent = texts[b.state] || b.state;
  el.className = 'break ' + (b.state === 'on-air' ? 'onair' : b.state === 'idle' ? '' : 'armed');
}

// Between pushes the song's time runs on here, so the bar moves smoothly.
function tick() {
  if (!now || !now.song) {
    $('elapsed').textContent = '0:00';
    $('left').textContent = '-0:00';
    $('progress-fill').style.width = '0';
    return;
  }
  const song = now.song;
  const playing = now.status === 'playing' || now.onAir === 'insert';
  let elapsed = song.elapsed + (playing ? (performance.now() - nowAt) / 1000 : 0);
  if (song.duration > 0) elapsed = Math.min(elapsed, song.duration);
  const share = song.duration > 0 ? elapsed / song.duration : 0;
  $('elapsed').textContent = clock(elapsed);
  $('left').textContent = '-' + clock(song.duration - elapsed);
  $('progress-fill').style.width = (share * 100).toFixed(1) + '%';
  $('progress').setAttribute('aria-valuenow', Math.round(share * 100));
}

function item(list, build) {
  const li = document.createElement('li');
  build(li);
  list.appendChild(li);
}

function renderStation(st) {
  const upcoming = $('upcoming');
  upcoming.replaceChildren();
  for (const row of st.music.upcoming) {
    item(upcoming, (li) => {
      li.textContent = row.title + ' ';
      const by = document.createElement('span');
      by.className = 'by';
      by.textContent = [row.artist, row.length].filter(Boolean).join(' \u00b7 ');
      li.appendChild(by);
    });
  }
  if (!st.music.upcoming.length) item(upcoming, (li) => { li.textContent = 'The list plays on from its top.'; });
  const events = $('events');
  events.replaceChildren();
  for (const e of st.schedule) {
    item(events, (li) => {
      const t = document.createElement('time');
      t.textContent = e.time;
      const what = document.createElement('span');
      what.className = 'what';
      what.textContent = e.window + ': ' + e.playlist.split(/[\\/]/).pop();
      li.append(t, what);
    });
  }
  if (!st.schedule.length) item(events, (li) => { li.textContent = 'No events.'; });
  $('stream').textContent = st.stream || 'Off';
  renderBreak(st.insert.break);
}

function renderMeter(m) {
  const width = (db) => Math.max(0, Math.min(100, (db + 60) / 60 * 100)).toFixed(0) + '%';
  $('meter-l').style.width = width(m.left);
  $('meter-r').style.width = width(m.right);
  $('meter-text').textContent = 'Output ' + m.left.toFixed(0) + ' / ' + m.right.toFixed(0) + ' dBFS';
}

const handlers = { 'now-playing': renderNowPlaying, 'station': renderStation, 'meter': renderMeter };

// Server-Sent Events read through fetch, so the token can go as a header
// (EventSource cannot send one); reconnects a second after any loss.
let stream = null;  // the open stream's AbortController
async function follow() {
  if (stream) stream.abort();
  const mine = stream = new AbortController();
  try {
    const answer = await fetch('api/events', { headers: headers(), cache: 'no-store', signal: mine.signal });
    if (answer.status === 401) {
      setLink('Token needed', 'down');
      say('This station asks for the token even to read: type it below.');
      return;
    }
    if (!answer.ok || !answer.body) throw new Error(answer.status);
    setLink('Live', 'live');
    const reader = answer.body.getReader();
    const decoder = new TextDecoder();
    let text = '';
    for (;;) {
      const { value, done } = await reader.read();
      if (done) break;
      text += decoder.decode(value, { stream: true });
      let end;
      while ((end = text.indexOf('\n\n')) >= 0) {
        const block = text.slice(0, end);
        text = text.slice(end + 2);
        let name = 'message', data = '';
        for (const line of block.split('\n')) {
          if (line.startsWith('event: ')) name = line.slice(7);
          else if (line.startsWith('data: ')) data += line.slice(6);
        }
        if (data && handlers[name]) handlers[name](JSON.parse(data));
      }
    }
  } catch (e) {
    // Down or unreachable: shown, and tried again below.
  }
  if (mine !== stream) return;  // given up for a newer one
  setLink('Reconnecting\u2026', 'down');
  setTimeout(() => { if (mine === stream) follow(); }, 1000);
}

async function press(button) {
  const command = button.dataset.command;
  button.disabled = true;
  say('');
  try {
    const answer = await fetch('api/' + command, { method: 'POST', headers: headers(), cache: 'no-store' });
    if (answer.status === 401) {
      say('That needs the token from Options > Web Remote\u2026 (type it below).');
      $('token').focus();
    } else if (!answer.ok) {
      say('The station said ' + answer.status + '.');
    } else {
      renderNowPlaying(await answer.json());
    }
  } catch (e) {
    say('The station cannot be reached.');
  } finally {
    button.disabled = false;
  }
}

document.querySelectorAll('button[data-command]').forEach((b) => b.addEventListener('click', () => press(b)));
$('token-form').addEventListener('submit', (e) => {
  e.preventDefault();
  token = $('token').value.trim();
  localStorage.setItem('tavlo-token', token);
  $('token').value = '';
  say(token ? 'Token saved in this browser.' : '');
  follow();
});
$('forget').addEventListener('click', () => {
  token = '';
  localStorage.removeItem('tavlo-token');
  say('Token forgotten.');
});
setInterval(tick, 250);
follow();
