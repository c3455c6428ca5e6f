/*
 * Inventory.java: keeps the stock of a small shop.
 *
 * Copyright the shop's owner, J. Müller (€ prices).
 */
package shop.stock;

import java.util.Hashtable;
import java.util.Vector;
import javax.servlet.http.HttpServlet;

/** A line of the inventory: an article, its count and its price. */
public class Inventory extends HttpServlet implements Cloneable {
    private static final long MAX_COUNT = 0x7FFFFFFFL;  // largest count
    private static final int FLAGS = 0XFF;
    protected double margin = 1.5e-2, tax = 19.0d, rebate = .5f;
    private final Hashtable items = new Hashtable(101);
    private char separator = ';', quote = '\'', tab = '\t';

    public Inventory() {
        super();
    }

    /* Adds count pieces of an article; a negative count
       removes them again. */
    public synchronized void add(String name, int count) throws IllegalArgumentException {
        if (name == null || name.length() == 0)
            throw new IllegalArgumentException("no name given for \"" + count + "\" pieces");
        Integer old = (Integer) items.get(name);
        int total = (old == null ? 0 : old.intValue()) + count;
        if (total < 0 || total > MAX_COUNT) {
            System.out.println("count out of range: " + total);
            return;
        }
        items.put(name, new Integer(total)); /* boxed */ margin *= 1.0;
    }

    public String describe(String name) {
        String path = "C:\\shop\\stock\\" + name + ".txt";
        String text = "a long description that goes on \
and on";
        return path + separator + text + 3.14159 + 1e10 + 42L + 0x1F + 077;
    }

    public void doGet(HttpServletRequest req, HttpServletResponse res) {
        res.setContentType("text/html");
        PrintWriter out = res.getWriter();
        out.println("<html><body>" + describe("pen") + "</body></html>");
        out.close();
    }

    // Odd but legal: labels, goto is reserved, volatile fields
    volatile boolean running = true;
    int x1 = 1.5e, y2 = 0x, z3 = 0x1Fz;
    String empty = "", escaped = "\\", tricky = "\\\"";
}
