#!/usr/bin/env python3
"""The fault suite: drives the real viewer headless on temporary archives and
counts the message files before and after, so that a file lost outside the
deletion rule, a hang or a disorderly shutdown shows as a failure.

    tests/faults/fault_suite.py --bin BUILD/bin [--kills N] [--only NAME ...]

Every run of the viewer gets its own program folder (a copy of the program
with its settings file), its own XDG_RUNTIME_DIR and QT_QPA_PLATFORM=offscreen.
All message files of an archive get distinct modification times two seconds
apart, so the deletion rule is exact: with automatic deletion on, a pass keeps
the Capacity newest files and deletes the others. A file among the Capacity
newest of every file version that ever existed can never be deleted by the
rule, whatever the viewer saw and whenever it was stopped; one that is gone
although the suite left it in place counts as lost.
"""

import argparse
import os
import random
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

PATIENCE = 90.0  # seconds a viewer may take to settle; it may run a Debug build
READ, SELECTED = 32, 4
MAX_SIZE = 2**31 - 1
NOBODY = 65534

OLD_BASE = int(time.mktime((2003, 12, 20, 0, 0, 0, 0, 0, -1)))


def today():
    return time.strftime("%y_%m_%d")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, what, patience=PATIENCE, step=0.05):
    deadline = time.monotonic() + patience
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(step)
    raise Failure("timed out waiting for " + what)


class Archive:
    """A temporary archive that remembers every file version it was given."""

    def __init__(self, root):
        self.root = root
        os.makedirs(root, exist_ok=True)
        self.versions = []  # (mtime, path) of every version ever made
        self.left = {}  # path -> mtime of the version the suite left there
        self.next_old = OLD_BASE  # older files count down from here
        self.next_new = int(time.time()) - 400000  # newer ones count up
        self.next_new -= self.next_new % 2
        self.hidden = set()  # day folders the viewer cannot see into

    def older_time(self):
        self.next_old -= 2
        return self.next_old

    def newer_time(self):
        self.next_new += 2
        return self.next_new

    def path(self, folder, name):
        return os.path.join(self.root, folder, name)

    def make(self, folder, name, mtime, body=None, size=None):
        path = self.path(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(body if body is not None else ("news %s\r\nbody\r\n" % name).encode())
            if size is not None:
                f.truncate(size)
        os.utime(path, (mtime, mtime))
        self.versions.append((mtime, path))
        self.left[path] = mtime
        return path

    def make_old(self, name, count=1):
        """Files older than everything before them, each in its own day's folder."""
        for i in range(count):
            t = self.older_time()
            self.make(time.strftime("%y_%m_%d", time.localtime(t)), "%s%d.TXT" % (name, i), t)

    def make_new(self, name, count=1):
        return [self.make(today(), "%s%d.TXT" % (name, i), self.newer_time()) for i in range(count)]

    def forget(self, path):
        self.left.pop(path, None)

    def on_disk(self):
        """The message files of the archive: regular files in real day folders."""
        found = set()
        for folder in os.listdir(self.root):
            day = os.path.join(self.root, folder)
            if day in self.hidden or os.path.islink(day) or not os.path.isdir(day):
                continue
            try:
                # The viewer deletes files and folders meanwhile.
                with os.scandir(day) as entries:
                    for entry in entries:
                        if not entry.name.startswith(".") and entry.is_file(follow_symlinks=False):
                            found.add(entry.path)
            except (PermissionError, FileNotFoundError):
                continue
        return found

    def newest(self, capacity, among=None):
        """The paths the rule keeps: the newest of the files left in place."""
        left = among if among is not None else self.left
        ranked = sorted(((m, p) for p, m in left.items()), reverse=True)
        return {p for _, p in ranked[:capacity]}

    def lost(self, capacity):
        """Files the rule can never have deleted that are gone all the same."""
        protected = sorted(self.versions, reverse=True)[:capacity]
        return sorted(p for m, p in protected if self.left.get(p) == m and not os.path.lexists(p))


def entries(folder):
    try:
        return len(os.listdir(folder))
    except FileNotFoundError:
        return 0


def archive_name(path):
    folder, name = path.split(os.sep)[-2:]
    return folder + "\\" + name.upper()


class Viewer:
    """One program folder and runtime folder; the viewer can be started in it again and again."""

    def __init__(self, ctx, work, archive, capacity, reread_delay=0, delete=True, owner=None):
        self.ctx = ctx
        self.program = os.path.join(work, "program")
        self.runtime = os.path.join(work, "runtime")
        self.home = os.path.join(work, "home")
        for folder in (self.program, self.runtime, self.home):
            os.makedirs(folder, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        self.exe = os.path.join(self.program, "varnot")
        shutil.copy2(os.path.join(ctx.bin, "varnot"), self.exe)
        self.settings_path = os.path.join(self.program, "varnot.INI")
        self.marks_path = os.path.join(self.program, "attr.sav")
        with open(self.settings_path, "wb") as f:
            f.write(
                (
                    "[main]\r\nPath=%s/\r\nDeleteAutomaticly=%s\r\nViewBufferSize=%d\r\n"
                    "RereadDelay=%d\r\nMarkDelay=100000000\r\n"
                    % (archive.root, "YES" if delete else "NO", capacity, reread_delay)
                ).encode()
            )
        self.owner = owner
        if owner is not None:
            for folder in (work, self.program, self.runtime, self.home, self.exe, self.settings_path):
                os.chown(folder, owner, owner)
        self.env = dict(
            os.environ,
            QT_QPA_PLATFORM="offscreen",
            XDG_RUNTIME_DIR=self.runtime,
            HOME=self.home,
            XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
            XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
        )
        self.log = open(os.path.join(work, "viewer.log"), "ab")
        self.proc = None
        ctx.viewers.append(self)

    def start(self, file_size_limit=None):
        owner = self.owner

        def prepare():
            if file_size_limit is not None:
                # A full disk: writes fail with EFBIG instead of ending the program.
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))
            if owner is not None:
                os.setgroups([])
                os.setgid(owner)
                os.setuid(owner)

        self.proc = subprocess.Popen(
            [self.exe], env=self.env, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
            preexec_fn=prepare,
        )

    def alive(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_ready(self):
        """The window runs its event loop: the service answers a poke."""
        sock = os.path.join(self.runtime, "ZEVA")

        def answered():
            check(self.alive(), "the viewer ended during start-up")
            return os.path.exists(sock) and self.poke(["NO-SUCH-FILE.TXT"]) == 0

        wait_for(answered, "the viewer to answer", step=0.1)

    def poke(self, names):
        return subprocess.run(
            [os.path.join(self.ctx.bin, "varnot-poke")] + list(names), env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        ).returncode

    def poke_async(self, names):
        return subprocess.Popen(
            [os.path.join(self.ctx.bin, "varnot-poke")] + list(names), env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        )

    def kill9(self):
        self.proc.kill()
        self.proc.wait()

    def terminate(self):
        """SIGTERM; returns the seconds the viewer took to end."""
        began = time.monotonic()
        self.proc.send_signal(signal.SIGTERM)
        try:
            code = self.proc.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            self.kill9()
            raise Failure("the viewer did not end after SIGTERM")
        took = time.monotonic() - began
        check(code == 0, "the viewer ended with code %s" % code)
        return took

    def setting(self, key):
        with open(self.settings_path, "rb") as f:
            for line in f.read().decode("cp1251").splitlines():
                name, _, value = line.partition("=")
                if name.strip().lower() == key.lower():
                    return value.strip()
        return None

    def marks(self):
        """The marks file: (name, flags, time, size) a line."""
        with open(self.marks_path, "rb") as f:
            lines = f.read().decode("cp1251").split("\r\n")
        result = []
        for line in lines:
            if line:
                name, flags, mtime, size = line.rsplit(",", 3)
                result.append((name, int(flags), int(mtime), int(size)))
        return result

    def plant_marks(self, flags):
        """Gives every line of the marks file these marks too."""
        marks = self.marks()
        with open(self.marks_path, "wb") as f:
            for name, old, mtime, size in marks:
                f.write(("%s,%d,%d,%d\r\n" % (name, old | flags, mtime, size)).encode("cp1251"))

    def rss_kb(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0


TALLY = {"files lost": 0}


def expect_nothing_lost(archive, capacity, where):
    lost = archive.lost(capacity)
    TALLY["files lost"] += len(lost)
    check(not lost, "%s: %d files lost, for example %s" % (where, len(lost), lost[:3]))


def settle(archive, capacity, viewer, among=None):
    """Waits until the archive holds exactly the files the rule keeps."""
    keep = archive.newest(capacity, among)
    protected = [(m, p) for m, p in sorted(archive.versions, reverse=True)[:capacity]
                 if archive.left.get(p) == m]

    def done():
        check(viewer.alive(), "the viewer ended")
        if any(not os.path.lexists(p) for _, p in protected):
            expect_nothing_lost(archive, capacity, "while passes ran")
        return archive.on_disk() == keep

    wait_for(done, "the archive to hold exactly the %d newest files" % capacity)


# --- scenarios -----------------------------------------------------------


def kills(ctx, work, count):
    """kill -9 at random moments while passes with automatic deletion run."""
    capacity = 300
    archive = Archive(os.path.join(work, "archive"))
    archive.make_old("O", 2400)
    archive.make_new("N", 100)
    viewer = Viewer(ctx, work, archive, capacity)
    # A clean run first: its marks file and LastExitIsGood=YES.
    viewer.start()
    viewer.wait_ready()
    settle(archive, capacity, viewer)
    viewer.terminate()
    check(viewer.setting("LastExitIsGood") == "YES", "a clean exit leaves LastExitIsGood=YES")
    viewer.plant_marks(READ | SELECTED)

    partial = 0
    for k in range(count):
        # Each start finds files to delete: newer ones push old ones out, and
        # files older than everything go at once.
        archive.make_new("K%d_" % k, 60)
        archive.make_old("D%d_" % k, 900)
        before = archive.on_disk()
        viewer.start()
        if k % 3 == 0:
            # Anywhere: during start-up, a pass, or between passes.
            time.sleep(random.uniform(0.05, 0.9))
        else:
            # Once the pass is deleting the oldest files, a moment later.
            watched = os.path.dirname(archive.path(time.strftime(
                "%y_%m_%d", time.localtime(archive.next_old)), "x"))
            initial = entries(watched)
            wait_for(lambda: entries(watched) < initial, "deletions", step=0.0005)
            time.sleep(random.uniform(0, 0.01))
        viewer.kill9()
        after = archive.on_disk()
        check(after <= before, "files appeared in the archive")
        gone = len(before - after)
        if 0 < gone < len(before) - capacity:
            partial += 1
        expect_nothing_lost(archive, capacity, "after kill %d" % (k + 1))
    check(viewer.setting("LastExitIsGood") == "NO", "a killed run leaves LastExitIsGood=NO")

    # The next start ignores the marks file, and its passes finish the job.
    viewer.start()
    viewer.wait_ready()
    settle(archive, capacity, viewer)
    viewer.terminate()
    expect_nothing_lost(archive, capacity, "after the kills")
    check(viewer.setting("LastExitIsGood") == "YES", "the clean exit after the kills")
    marks = viewer.marks()
    check(len(marks) == capacity, "the marks file lists the whole list")
    check(all(flags & (READ | SELECTED) == 0 for _, flags, _, _ in marks),
          "marks of the run before the kills came back after a crash")
    # The same marks after a clean exit do come back: the check above can fail.
    viewer.plant_marks(READ)
    viewer.start()
    viewer.wait_ready()
    time.sleep(1.0)
    viewer.terminate()
    check(all(flags & READ for _, flags, _, _ in viewer.marks()), "marks after a clean exit")
    ctx.count("kills", count)
    ctx.count("kills during deletion", partial)
    return "%d kills (%d in the middle of deleting), %d files deleted by the rule" % (
        count, partial, len(archive.versions) - capacity)


def churn(ctx, work, seconds=10.0):
    """Files appear, vanish, are renamed and saved again while passes run."""
    capacity = 200
    archive = Archive(os.path.join(work, "archive"))
    archive.make_old("O", 450)
    archive.make_new("N", 100)
    viewer = Viewer(ctx, work, archive, capacity)
    viewer.start()
    viewer.wait_ready()
    settle(archive, capacity, viewer)

    done = {"appear": 0, "vanish": 0, "rename": 0, "resave in place": 0, "replace": 0}

    def safely_kept():
        """Files the rule keeps even after many newer ones appear."""
        ranked = sorted(((m, p) for p, m in archive.left.items()), reverse=True)
        return {p for _, p in ranked[: capacity - 100]}

    def one_change(rng, serial):
        paths = sorted(archive.left)
        op = rng.choice(["new", "old", "vanish", "rename", "resave", "resave"])
        try:
            if op == "new":
                archive.make(today(), "C%d.TXT" % serial, archive.newer_time())
                done["appear"] += 1
            elif op == "old":
                t = archive.older_time()
                archive.make(time.strftime("%y_%m_%d", time.localtime(t)), "C%d.TXT" % serial, t)
                done["appear"] += 1
            elif op == "vanish":
                path = rng.choice(paths)
                os.remove(path)
                archive.forget(path)
                done["vanish"] += 1
            elif op == "rename":
                path = rng.choice(paths)
                target = os.path.join(os.path.dirname(path), "R%d.TXT" % serial)
                os.rename(path, target)
                archive.versions.append((archive.left.pop(path), target))
                archive.left[target] = archive.versions[-1][0]
                done["rename"] += 1
            else:
                # Saved again: in place for a file the rule keeps (a writer
                # may hold it open), by replacing it for any other.
                path = rng.choice(paths)
                in_place = path in safely_kept()
                if in_place:
                    with open(path, "r+b") as f:
                        f.truncate(0)
                        f.write(b"saved again\r\n")
                else:
                    temporary = os.path.join(os.path.dirname(path), ".saving%d" % serial)
                    with open(temporary, "wb") as f:
                        f.write(b"saved again\r\n")
                    os.replace(temporary, path)
                t = archive.newer_time()
                os.utime(path, (t, t))
                archive.versions.append((t, path))
                archive.left[path] = t
                done["resave in place" if in_place else "replace"] += 1
        except FileNotFoundError:
            pass  # the viewer deleted it first: the count of lost files judges whether it may

    rng = random.Random(ctx.seed)
    end = time.monotonic() + seconds
    serial = 0
    while time.monotonic() < end:
        serial += 1
        one_change(rng, serial)
        time.sleep(rng.uniform(0, 0.004))
    check(viewer.alive(), "the viewer ended during the changes")
    expect_nothing_lost(archive, capacity, "after the changes")
    # An announcement on a full list, then the archive settles by the rule.
    path = archive.make(today(), "ANNOUNCED.TXT", archive.newer_time())
    check(viewer.poke([os.path.basename(path)]) == 0, "the announcement was taken")
    settle(archive, capacity, viewer)
    viewer.terminate()
    expect_nothing_lost(archive, capacity, "after the announcement")
    names = {m[0] for m in viewer.marks()}
    check(names == {archive_name(p) for p in archive.newest(capacity)},
          "the list at exit is the newest files")
    changes = sum(done.values())
    ctx.count("changes", changes)
    return "%d changes (%s) during passes, then an announcement on a full list" % (
        changes, ", ".join("%s %d" % kv for kv in done.items()))


def folders(ctx, work):
    """Day folders replaced by a file, a FIFO, or moved away and replaced by a link."""
    capacity = 100
    archive = Archive(os.path.join(work, "archive"))
    away = os.path.join(work, "away")
    os.makedirs(away)
    sentinel = archive.make("03_12_19", "SENTINEL.TXT", OLD_BASE - 86400 * 2)
    for day in (20, 21, 22, 23):
        for i in range(20):
            archive.make("03_12_%d" % day, "F%d.TXT" % i, OLD_BASE + 86400 * (day - 20) + 2 * i)
    archive.make_new("N", 20)
    # No periodic passes: the list keeps the records of the folders replaced below.
    viewer = Viewer(ctx, work, archive, capacity, reread_delay=60)
    viewer.start()
    viewer.wait_ready()
    wait_for(lambda: not os.path.exists(sentinel), "the first pass")

    replaced = {}
    for day, kind in ((20, "link"), (21, "file"), (22, "fifo")):
        folder = archive.path("03_12_%d" % day, "")[:-1]
        moved = os.path.join(away, os.path.basename(folder))
        os.rename(folder, moved)
        if kind == "link":
            os.symlink(moved, folder)
        elif kind == "file":
            with open(folder, "wb") as f:
                f.write(b"not a folder\r\n")
        else:
            os.mkfifo(folder)
        replaced[kind] = moved
        for path in list(archive.left):
            if path.startswith(folder + os.sep):
                archive.forget(path)
    behind = {kind: sorted(os.listdir(moved)) for kind, moved in replaced.items()}

    # Arrivals on the full list drop the oldest records, those of the replaced folders.
    names = [os.path.basename(p) for p in archive.make_new("A", 30)]
    check(viewer.poke(names) == 0, "the arrivals were taken")
    viewer.terminate()
    # Passes now walk the replaced entries again and again, arrivals come in.
    viewer_periodic = Viewer(ctx, os.path.join(work, "again"), archive, capacity)
    viewer_periodic.start()
    viewer_periodic.wait_ready()
    names = [os.path.basename(p) for p in archive.make_new("B", 40)]
    check(viewer_periodic.poke(names) == 0, "the later arrivals were taken")
    settle(archive, capacity, viewer_periodic)
    took = viewer_periodic.terminate()
    for kind, moved in replaced.items():
        check(sorted(os.listdir(moved)) == behind[kind], "a file behind the %s went" % kind)
    check(stat.S_ISFIFO(os.lstat(archive.path("03_12_22", "")[:-1]).st_mode), "the FIFO stays")
    check(os.path.islink(archive.path("03_12_20", "")[:-1]), "the link stays")
    expect_nothing_lost(archive, capacity, "with replaced day folders")
    return "link, file and FIFO in place of day folders: nothing behind them deleted; exit in %.2f s" % took


def unreadable(ctx, work):
    """A day folder the viewer cannot read (run as another user when the suite is root)."""
    capacity = 50
    archive = Archive(os.path.join(work, "archive"))
    sentinel = archive.make("03_12_19", "SENTINEL.TXT", OLD_BASE - 86400)
    for i in range(30):
        archive.make("03_12_21", "R%d.TXT" % i, OLD_BASE + 86400 + 2 * i)
        archive.make("03_12_22", "U%d.TXT" % i, OLD_BASE + 2 * 86400 + 2 * i)
    archive.make_new("N", 30)
    owner = NOBODY if os.geteuid() == 0 else None
    viewer = Viewer(ctx, work, archive, capacity, owner=owner)
    locked = archive.path("03_12_22", "")[:-1]
    inside = sorted(os.listdir(locked))
    if owner is not None:
        for base, dirs, files in os.walk(archive.root):
            for name in dirs + files + [""]:
                os.chown(os.path.join(base, name) if name else base, owner, owner)
    os.chmod(locked, 0)
    archive.hidden.add(locked)
    readable = {p: m for p, m in archive.left.items() if not p.startswith(locked + os.sep)}
    viewer.start()
    viewer.wait_ready()
    wait_for(lambda: not os.path.exists(sentinel), "the first pass")
    settle(archive, capacity, viewer, among=readable)
    took = viewer.terminate()
    os.chmod(locked, 0o755)
    check(sorted(os.listdir(locked)) == inside, "a file of the unreadable folder went")
    check(viewer.setting("LastExitIsGood") == "YES", "a clean exit")
    return "unreadable day folder (viewer as uid %s): its %d files stay, the rest by the rule" % (
        owner if owner is not None else os.geteuid(), len(inside))


def huge(ctx, work):
    """Messages larger than 2 GB (sparse), listed with their size clamped."""
    capacity = 20
    archive = Archive(os.path.join(work, "archive"))
    archive.make_old("O", 30)
    big = archive.make(today(), "BIG3G.TXT", archive.newer_time(), b"big news\r\n", 3 * 2**30)
    wraps = archive.make(today(), "BIG4G.TXT", archive.newer_time(), b"bigger\r\n", 2**32 + 10)
    viewer = Viewer(ctx, work, archive, capacity)
    viewer.start()
    viewer.wait_ready()
    settle(archive, capacity, viewer)
    check(viewer.poke(["BIG3G.TXT", "big4g.txt"]) == 0, "the announcements were taken")
    viewer.terminate()
    sizes = {name: size for name, _, _, size in viewer.marks()}
    for path in (big, wraps):
        check(sizes.get(archive_name(path)) == MAX_SIZE, "%s listed with size %s" % (
            os.path.basename(path), sizes.get(archive_name(path))))
    expect_nothing_lost(archive, capacity, "with huge messages")
    return "3 GiB and 4 GiB + 10 sparse messages listed with size %d" % MAX_SIZE


def crowded(ctx, work):
    """100,000 files in one day folder; SIGTERM in the middle of the pass."""
    capacity = 4000
    archive = Archive(os.path.join(work, "archive"))
    folder = "03_12_18"
    base = OLD_BASE - 400000
    for i in range(100000):
        archive.make(folder, "M%06d.TXT" % i, base + 2 * i, b"m\r\n")
    archive.make_new("N", 10)
    viewer = Viewer(ctx, work, archive, capacity)
    day = archive.path(folder, "")

    def count():
        return sum(1 for _ in os.scandir(day))

    stops = []
    for deleted in (500, 5000, 15000):
        before = count()
        viewer.start()
        wait_for(lambda: before - count() >= deleted, "%d deletions" % deleted, step=0.02)
        stops.append(viewer.terminate())
        check(viewer.setting("LastExitIsGood") == "YES", "SIGTERM during a pass: a clean exit")
        expect_nothing_lost(archive, capacity, "after SIGTERM during the pass")
    slowest = max(stops)
    check(slowest <= 1.0, "SIGTERM during a pass took %.2f s to end the viewer" % slowest)
    began = time.monotonic()
    viewer.start()
    settle(archive, capacity, viewer)
    passed = time.monotonic() - began
    viewer.terminate()
    check(len(viewer.marks()) == capacity, "the whole list in the marks file")
    ctx.count("slowest SIGTERM exit", slowest)
    return "100,000 files in one folder: SIGTERM mid-pass ended the viewer in %s s; " \
           "start and pass to the %d newest %.1f s" % (
               "/".join("%.2f" % s for s in stops), capacity, passed)


def full_disk(ctx, work):
    """The settings and marks files written while the disk is full (RLIMIT_FSIZE)."""
    capacity = 300
    archive = Archive(os.path.join(work, "archive"))
    archive.make_old("O", 200)
    viewer = Viewer(ctx, work, archive, capacity)
    viewer.start()
    viewer.wait_ready()
    viewer.terminate()
    results = []
    for limit in (64, 4096):
        settings = open(viewer.settings_path, "rb").read()
        marks = open(viewer.marks_path, "rb").read()
        check(len(settings) > 64 and len(marks) > 4096, "the files are larger than the limits")
        viewer.start(file_size_limit=limit)
        viewer.wait_ready()
        names = [os.path.basename(p) for p in archive.make_new("L%d_" % limit, 3)]
        check(viewer.poke(names) == 0, "the arrivals were taken")
        viewer.terminate()
        check(open(viewer.marks_path, "rb").read() == marks, "the old marks file stays intact")
        left = [n for n in os.listdir(viewer.program) if n.endswith(".tmp")]
        check(not left, "temporary files stay behind: %s" % left)
        if limit == 64:
            check(open(viewer.settings_path, "rb").read() == settings, "the old settings file stays")
        else:
            # The settings fit but the marks did not: the next start must not
            # take the older marks file for this run's.
            check(viewer.setting("LastExitIsGood") == "NO", "marks unwritten: LastExitIsGood=NO")
        results.append(limit)
        # A normal run puts everything in order again.
        viewer.start()
        viewer.wait_ready()
        viewer.terminate()
    return "file size limits %s bytes: old settings and marks files intact, no temporary left" % (
        " and ".join(map(str, results)))


def flood(ctx, work):
    """10,000 announcements from 20 clients at once while passes run."""
    capacity = 4000
    archive = Archive(os.path.join(work, "archive"))
    archive.make_old("O", 3000)
    viewer = Viewer(ctx, work, archive, capacity)
    viewer.start()
    viewer.wait_ready()
    time.sleep(1.0)
    names = [os.path.basename(p) for p in archive.make_new("F", capacity)]
    rng = random.Random(ctx.seed)
    rss = [viewer.rss_kb()]
    answered = 0
    for _ in range(2):
        announcements = names * 2 + rng.sample(names, 2000)
        rng.shuffle(announcements)
        clients = [viewer.poke_async(announcements[i::20]) for i in range(20)]
        answered += sum(500 for c in clients if c.wait() == 0)
        rss.append(viewer.rss_kb())
        time.sleep(3.0)  # passes go on meanwhile
        rss.append(viewer.rss_kb())
    check(answered == 20000, "%d of 20000 announcements answered OK" % answered)
    settle(archive, capacity, viewer)
    viewer.terminate()
    listed = {m[0] for m in viewer.marks()}
    check(listed == {archive_name(archive.path(today(), n)) for n in names},
          "every announced file is in the list at exit")
    expect_nothing_lost(archive, capacity, "after the flood")
    growth = max(rss[2:]) - rss[1]
    check(growth <= 4096, "memory grew by %d kB after the first flood" % growth)
    ctx.count("announcements", answered)
    return "2 x 10,000 announcements from 20 clients: all OK, all %d files listed; " \
           "RSS kB before/after/3 s later: %s" % (capacity, "/".join(map(str, rss)))


SCENARIOS = {
    "kills": kills,
    "churn": churn,
    "folders": folders,
    "unreadable": unreadable,
    "huge": huge,
    "crowded": crowded,
    "full_disk": full_disk,
    "flood": flood,
}


class Context:
    def __init__(self, bindir, seed):
        self.bin = bindir
        self.seed = seed
        self.counts = {}
        self.viewers = []

    def count(self, what, value):
        self.counts[what] = self.counts.get(what, 0) + value


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="folder with varnot and varnot-poke")
    parser.add_argument("--kills", type=int, default=60)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--only", nargs="*", choices=sorted(SCENARIOS))
    parser.add_argument("--keep", action="store_true", help="keep the temporary folders")
    args = parser.parse_args()
    bindir = os.path.abspath(args.bin)
    ctx = Context(bindir, args.seed)
    random.seed(args.seed)
    print("fault suite, seed %d" % args.seed, flush=True)
    failed = 0
    began = time.monotonic()
    for name in args.only or SCENARIOS:
        work = tempfile.mkdtemp(prefix="varnot-faults-%s-" % name)
        os.chmod(work, 0o755)
        started = time.monotonic()
        try:
            if name == "kills":
                line = kills(ctx, work, args.kills)
            else:
                line = SCENARIOS[name](ctx, work)
            print("ok   %-10s %5.1f s  %s" % (name, time.monotonic() - started, line), flush=True)
        except Failure as failure:
            failed += 1
            print("FAIL %-10s %5.1f s  %s  (left in %s)" % (
                name, time.monotonic() - started, failure, work), flush=True)
            continue
        finally:
            # Nothing the suite started outlives its scenario.
            for viewer in ctx.viewers:
                if viewer.alive():
                    viewer.kill9()
            ctx.viewers.clear()
        if not args.keep:
            for base, dirs, _ in os.walk(work):
                for d in dirs:
                    path = os.path.join(base, d)
                    if not os.path.islink(path):
                        os.chmod(path, 0o755)
            shutil.rmtree(work, ignore_errors=True)
    print("summary: kills %d (%d while deleting), files lost %d, %d scenarios failed, %.0f s" % (
        ctx.counts.get("kills", 0), ctx.counts.get("kills during deletion", 0),
        TALLY["files lost"], failed, time.monotonic() - began), flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
