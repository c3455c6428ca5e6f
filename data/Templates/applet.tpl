import java.applet.Applet;
import java.awt.Graphics;

public class MyApplet extends Applet {
    public void init() {
    }

    public void paint(Graphics g) {
        g.drawString("Hello from the applet", 20, 20);
    }
}
