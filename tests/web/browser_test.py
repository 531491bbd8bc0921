#!/usr/bin/env python3
"""The remote page in a real browser: a headless station plays the demo list,
headless Chromium (through chromedriver) loads the page from it, sees the
song on air, presses Next and sees the next song come on air.

    browser_test.py TAVLO DEMO_DIR [SHOTS_DIR]

With SHOTS_DIR, screenshots of the page at a phone's and a desktop's size
are written there.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.support.ui import WebDriverWait

TOKEN = "browser-test-token-42"


def start_station(tavlo, demo, work):
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_STATE_HOME=os.path.join(work, "state"), XDG_CACHE_HOME=os.path.join(work, "cache"),
               TAVLO_WEB_TOKEN=TOKEN)
    err = open(os.path.join(work, "stderr.txt"), "w+")
    station = subprocess.Popen([tavlo, "--headless", "--fresh", "--web", "127.0.0.1:0", os.path.join(demo, "demo.m3u")],
                               stdout=subprocess.DEVNULL, stderr=err, env=env)
    deadline = time.time() + 20
    while time.time() < deadline:
        err.seek(0)
        m = re.search(r"Web remote at (http://127\.0\.0\.1:\d+/)", err.read())
        if m:
            return station, m.group(1)
        if station.poll() is not None:
            break
        time.sleep(0.05)
    err.seek(0)
    sys.exit("the station never said where its remote listens:\n" + err.read())


def browser(work):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    for a in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
              "--window-size=390,844", "--user-data-dir=" + os.path.join(work, "chromium")):
        options.add_argument(a)
    return webdriver.Chrome(service=Service(shutil.which("chromedriver") or "/usr/bin/chromedriver"), options=options)


def main():
    tavlo, demo = sys.argv[1], sys.argv[2]
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    started = time.time()
    work = tempfile.mkdtemp(prefix="tavlo-browser-")
    station, url = start_station(tavlo, demo, work)
    driver = None
    try:
        driver = browser(work)
        # The page redraws its lists as events arrive: an element read in the
        # middle of a redraw is stale, and the wait simply looks again.
        wait = WebDriverWait(driver, 10, poll_frequency=0.05,
                             ignored_exceptions=(StaleElementReferenceException, IndexError))
        driver.get(url + "#token=" + TOKEN)
        wait.until(lambda d: d.find_element(By.ID, "title").text == "Morning Chimes")
        wait.until(lambda d: d.find_element(By.ID, "link").text == "Live")
        first_next = wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#upcoming li")[0].text)
        assert first_next.startswith("Blue Hour"), "up next shows " + first_next
        assert "token=" not in driver.current_url, "the token stays out of the address bar"
        if shots:
            os.makedirs(shots, exist_ok=True)
            time.sleep(1.5)  # the bar moves and the meter shows
            driver.save_screenshot(os.path.join(shots, "phone-390x844.png"))
            driver.set_window_size(1280, 800)
            time.sleep(0.5)
            driver.save_screenshot(os.path.join(shots, "desktop-1280x800.png"))
        pressed = time.time()
        driver.find_element(By.ID, "next").click()
        wait.until(lambda d: d.find_element(By.ID, "title").text == "Blue Hour")
        print("next song on the page %.0f ms after the press" % ((time.time() - pressed) * 1000))
        # The page keeps following the station: its pushed now-playing, not only the command's answer.
        wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#upcoming li")[0].text.startswith("Station Call"))
        assert driver.find_element(By.ID, "artist").text.startswith("Tavlo Demo Band")
    finally:
        if driver:
            driver.quit()
        station.terminate()
        station.wait(10)
        shutil.rmtree(work, ignore_errors=True)
    print("browser test passed in %.1f s" % (time.time() - started))


if __name__ == "__main__":
    main()
