"""The designer's "Build disc" dialog filled and sent as an author does, on a page that shows
the designer."""
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait


def build_disc(driver, label, folder, bits64=False, iso=True, usb=True, seconds=60):
    """Builds from the dialog; gives the status, the outputs' and the problems' lines once the
    tool has answered."""
    dialog = driver.find_element(By.ID, "build-dialog")

    def wait_for(condition, what):
        WebDriverWait(driver, seconds, poll_frequency=0.1).until(
            lambda _: condition(), message="no %s (%s)" % (what, dialog.text))

    opener = driver.find_element(By.ID, "build-disc")
    wait_for(opener.is_displayed, "Build disc button")
    opener.click()
    wait_for(lambda: dialog.get_property("open"), "dialog open")
    fields = dialog.find_elements(By.CSS_SELECTOR, "input")
    label_field, bits32, bits64_field, iso_field, usb_field, folder_field = fields[:6]
    label_field.clear()
    label_field.send_keys(label)
    (bits64_field if bits64 else bits32).click()
    if iso_field.is_selected() != iso:
        iso_field.click()
    if usb_field.is_selected() != usb:
        usb_field.click()
    folder_field.clear()
    folder_field.send_keys(folder)
    dialog.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
    status = dialog.find_element(By.CSS_SELECTOR, ".build-status")
    wait_for(lambda: status.text == "Built." or status.text.startswith(("Not built", "Stopped")),
             "answer from the build")

    def lines(css):
        return [e.text for e in dialog.find_elements(By.CSS_SELECTOR, css + " li")]
    return status.text, lines(".build-results"), lines(".build-problems")
